#include "port_sites.h"

#include "big5_page.h"
#include "maker_pages.h"

namespace tidex::sites {

SiteResponse PortSites::handle(const SiteRequest& request) {
  SiteResponse response = respond(request);
  if (response.delivery == SiteResponse::Delivery::Refused) return response;
  QByteArray line = request.method + ' ' + request.path;
  if (!request.query.isEmpty()) line += '?' + request.query;
  log_.push_back(QString::fromLatin1(line));
  return response;
}

SiteResponse PortSites::respond(const SiteRequest& request) {
  if (const auto page = pages_.find(request.path); page != pages_.end()) return page->second;
  if (maker_.handles(request.path)) return maker_.handle(request);
  if (IsMakerPlainPage(request.path)) return MakerPlainPage(request.path);
  if (mail_.handles(request.path)) return mail_.handle(request);
  if (imct_.handles(request.path)) return imct_.handle(request);
  if (board_.handles(request.path)) return board_.handle(request);
  if (customs_.handles(request.path)) return customs_.handle(request);
  return {404, "text/html; charset=big5",
          Big5Page(QStringLiteral("404"), QStringLiteral("<p>找不到網頁</p>"))};
}

}  // namespace tidex::sites
