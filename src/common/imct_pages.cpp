#include "common/imct_pages.h"

#include "common/server_pages.h"
#include "common/settings.h"

namespace tidex {
namespace {
QString onImctServer(const QString& path) { return ServerAddress(QStringLiteral("imct")) + path; }
}  // namespace

QString ImctLoginPage() { return onImctServer(QStringLiteral("/APIMCT/pages/Login_etp.jsp")); }

QString ImctQueryPage() { return onImctServer(QStringLiteral("/APIMCT/pages/sp4100.jsp")); }

QString ImctImageButton() {
  return onImctServer(QStringLiteral("/APIMCT/pages/img/ETP/button_etp_01.gif"));
}

bool IsOnImctServer(const QString& pageAddress) {
  return IsOnServer(pageAddress, QStringLiteral("imct"));
}

}  // namespace tidex
