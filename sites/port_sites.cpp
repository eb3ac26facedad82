#include "port_sites.h"

#include <algorithm>

#include "big5_page.h"
#include "maker_pages.h"

namespace tidex::sites {

SiteResponse PortSites::handle(const SiteRequest& request) {
  SiteResponse response = respond(request, true);
  if (response.delivery == SiteResponse::Delivery::Refused) return response;
  QByteArray line = request.method + ' ' + request.path;
  if (!request.query.isEmpty()) line += '?' + request.query;
  log_.push_back(QString::fromLatin1(line));
  return response;
}

SiteResponse PortSites::respond(const SiteRequest& request) { return respond(request, false); }

SiteResponse PortSites::respond(const SiteRequest& request, bool fresh) {
  if (const auto page = pages_.find(request.path); page != pages_.end()) return page->second;
  if (request.path.startsWith(kLandingPath)) return LandingPage();
  const std::optional<Service> service = serviceOf(request.path);
  if (!service) {
    return {404, "text/html; charset=big5",
            Big5Page(QStringLiteral("404"), QStringLiteral("<p>找不到網頁</p>"))};
  }
  const Fault fault = faultFor(*service, request, fresh);
  if (fault == Fault::None) return answer(*service, request);
  if (FaultReplacesService(fault)) return FaultAnswer(fault, request);
  return SpoilAnswer(fault, answer(*service, request));
}

void PortSites::setFault(Service service, Fault fault, QByteArray match, int times) {
  if (fault == Fault::None) {
    faults_.erase(service);
  } else {
    faults_[service] = {fault, std::move(match), std::max(times, 0)};
  }
}

Fault PortSites::faultOf(Service service) const {
  const auto it = faults_.find(service);
  return it == faults_.end() ? Fault::None : it->second.fault;
}

Fault PortSites::faultFor(Service service, const SiteRequest& request, bool fresh) {
  const auto it = faults_.find(service);
  if (it == faults_.end()) return Fault::None;
  FaultSetting& setting = it->second;
  const QByteArray& match = setting.match;
  if (!match.isEmpty() && !request.path.contains(match) && !request.query.contains(match) &&
      !request.body.contains(match)) {
    return Fault::None;
  }
  const Fault fault = setting.fault;
  if (!FaultMeets(fault, request)) return Fault::None;
  if (fresh && setting.remaining > 0 && --setting.remaining == 0) faults_.erase(it);
  return fault;
}

std::optional<Service> PortSites::serviceOf(const QByteArray& path) const {
  if (maker_.handles(path) || IsMakerPlainPage(path) || mail_.handles(path)) {
    return Service::Maker;
  }
  if (imct_.handles(path)) return Service::Imct;
  if (board_.handles(path)) return Service::Board;
  if (customs_.handles(path)) return Service::Customs;
  return std::nullopt;
}

SiteResponse PortSites::answer(Service service, const SiteRequest& request) {
  switch (service) {
    case Service::Maker:
      if (maker_.handles(request.path)) return maker_.handle(request);
      if (IsMakerPlainPage(request.path)) return MakerPlainPage(request.path);
      return mail_.handle(request);
    case Service::Imct:
      return imct_.handle(request);
    case Service::Board:
      return board_.handle(request);
    case Service::Customs:
      return customs_.handle(request);
  }
  return {};
}

}  // namespace tidex::sites
