#include <functional>

#include "control_routes.h"

namespace tidex::sites::control {
namespace {

// Runs change on the customs database under the lock and answers "ok".
void changeCustoms(std::mutex& lock, PortSites& sites, httplib::Response& res,
                   const std::function<void(CustomsService&)>& change) {
  std::lock_guard guard(lock);
  change(sites.customs());
  reply(res, 200, "ok\n");
}

std::optional<CustomsQuery> queryParam(const httplib::Request& req) {
  const QString query = param(req, "query");
  if (query == u"permits") return CustomsQuery::Permits;
  if (query == u"fees") return CustomsQuery::Fees;
  return std::nullopt;
}

std::optional<CustomsTrouble> troubleParam(const httplib::Request& req) {
  const QString page = param(req, "page");
  if (page == u"busy") return CustomsTrouble::Busy;
  if (page == u"error") return CustomsTrouble::ProcessingError;
  if (page == u"none") return CustomsTrouble::None;
  return std::nullopt;
}

}  // namespace

void AddCustomsControl(BodilessPosts& posts, std::mutex& lock, PortSites& sites) {
  posts.add("/_control/customs/permits", [&](const httplib::Request& req, httplib::Response& res) {
    const QString regno = param(req, "regno");
    const std::optional<std::vector<DischargePermit>> permits = ParsePermits(param(req, "laden"));
    if (regno.trimmed().isEmpty()) return reply(res, 400, "regno required\n");
    if (!permits) return reply(res, 400, "laden must be LOCATION:COUNT,... with 0 to 99999\n");
    changeCustoms(lock, sites, res,
                  [&](CustomsService& customs) { customs.setPermits(regno, *permits); });
  });
  posts.add("/_control/customs/fees", [&](const httplib::Request& req, httplib::Response& res) {
    const std::optional<bool> registered = flagParam(req, "registered");
    if (param(req, "regno").trimmed().isEmpty()) return reply(res, 400, "regno required\n");
    if (!registered) return reply(res, 400, "registered must be 1 or 0\n");
    changeCustoms(lock, sites, res, [&](CustomsService& customs) {
      customs.setFeesRegistered(param(req, "regno"), *registered);
    });
  });
  posts.add("/_control/customs/trouble", [&](const httplib::Request& req, httplib::Response& res) {
    const std::optional<CustomsQuery> query = queryParam(req);
    const std::optional<CustomsTrouble> trouble = troubleParam(req);
    if (param(req, "regno").trimmed().isEmpty()) return reply(res, 400, "regno required\n");
    if (!query) return reply(res, 400, "query must be permits or fees\n");
    if (!trouble) return reply(res, 400, "page must be busy, error or none\n");
    changeCustoms(lock, sites, res, [&](CustomsService& customs) {
      customs.setTrouble(param(req, "regno"), *query, *trouble);
    });
  });
  posts.add("/_control/customs/reset", [&](const httplib::Request&, httplib::Response& res) {
    changeCustoms(lock, sites, res, [](CustomsService& customs) { customs.reset(); });
  });
}

}  // namespace tidex::sites::control
