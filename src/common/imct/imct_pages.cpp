#include "common/imct/imct_pages.h"

#include <QUrl>

#include "common/page/server_pages.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"

namespace tidex {
namespace {
QString onImctServer(const QString& path) {
  return ServerAddress(settings_keys::kServerImct) + path;
}
}  // namespace

QString ImctLoginPage() { return onImctServer(QStringLiteral("/APIMCT/pages/Login_etp.jsp")); }

QString ImctQueryPage() { return onImctServer(QStringLiteral("/APIMCT/pages/sp4100.jsp")); }

QString ImctImageButton() {
  return onImctServer(QStringLiteral("/APIMCT/pages/img/ETP/button_etp_01.gif"));
}

bool IsImctImageButton(const QString& imageSource) {
  const QUrl image(imageSource);
  const QUrl button(ImctImageButton());
  return IsOnImctServer(imageSource) &&
         image.path(QUrl::FullyEncoded) == button.path(QUrl::FullyEncoded) &&
         image.query(QUrl::FullyEncoded) == button.query(QUrl::FullyEncoded);
}

bool IsOnImctServer(const QString& pageAddress) {
  return IsOnServer(pageAddress, QStringLiteral("imct"));
}

}  // namespace tidex
