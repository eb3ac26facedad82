#include "common/imct_pages.h"

#include <QUrl>

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
  const QUrl page(pageAddress);
  const QUrl server(ServerAddress(QStringLiteral("imct")));
  if (!page.isValid() || !server.isValid() || page.host().isEmpty()) return false;
  const int defaultPort = server.scheme() == QStringLiteral("https") ? 443 : 80;
  return page.scheme().compare(server.scheme(), Qt::CaseInsensitive) == 0 &&
         page.host().compare(server.host(), Qt::CaseInsensitive) == 0 &&
         page.port(defaultPort) == server.port(defaultPort);
}

}  // namespace tidex
