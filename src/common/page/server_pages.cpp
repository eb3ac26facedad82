#include "common/page/server_pages.h"

#include <QUrl>

#include "common/settings/settings.h"

namespace tidex {

bool IsOnServer(const QString& pageAddress, const QString& serverName) {
  const QUrl page(pageAddress);
  const QUrl server(ServerAddress(serverName));
  if (!page.isValid() || !server.isValid() || page.host().isEmpty()) return false;
  const int defaultPort = server.scheme().compare(u"https", Qt::CaseInsensitive) == 0 ? 443 : 80;
  return page.scheme().compare(server.scheme(), Qt::CaseInsensitive) == 0 &&
         page.host().compare(server.host(), Qt::CaseInsensitive) == 0 &&
         page.port(defaultPort) == server.port(defaultPort);
}

}  // namespace tidex
