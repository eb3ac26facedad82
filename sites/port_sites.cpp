#include "port_sites.h"

#include "big5_page.h"

namespace tidex::sites {

SiteResponse PortSites::handle(const SiteRequest& request) {
  const auto page = pages_.find(request.path);
  if (page != pages_.end() && page->second.delivery == SiteResponse::Delivery::Refused) {
    return page->second;
  }
  QByteArray line = request.method + ' ' + request.path;
  if (!request.query.isEmpty()) line += '?' + request.query;
  log_.push_back(QString::fromLatin1(line));
  if (page != pages_.end()) return page->second;
  if (maker_.handles(request.path)) return maker_.handle(request);
  return {404, "text/html; charset=big5",
          Big5Page(QStringLiteral("404"), QStringLiteral("<p>找不到網頁</p>"))};
}

}  // namespace tidex::sites
