#include <functional>

#include "control_routes.h"

namespace tidex::sites::control {
namespace {

constexpr int kMostContainers = 99'999;
constexpr int kLongestDelay = 86'400;

// Runs change on the IMCT service under the lock and answers "ok".
void changeImct(std::mutex& lock, PortSites& sites, httplib::Response& res,
                const std::function<void(ImctService&)>& change) {
  std::lock_guard guard(lock);
  change(sites.imct());
  reply(res, 200, "ok\n");
}

}  // namespace

void AddImctControl(httplib::Server& server, BodilessPosts& posts, std::mutex& lock,
                    PortSites& sites) {
  posts.add("/_control/imct/account", [&](const httplib::Request& req, httplib::Response& res) {
    if (param(req, "user").isEmpty() || !req.has_param("password")) {
      return reply(res, 400, "user and password required\n");
    }
    changeImct(lock, sites, res, [&](ImctService& imct) {
      imct.setAccount(param(req, "user"), param(req, "password"));
    });
  });
  posts.add("/_control/imct/found", [&](const httplib::Request& req, httplib::Response& res) {
    const std::optional<int> laden = intParam(req, "laden", 0, 0, kMostContainers);
    const std::optional<int> empty = intParam(req, "empty", 0, 0, kMostContainers);
    const std::optional<int> after = intParam(req, "after", 0, 0, kLongestDelay);
    if (param(req, "regno").trimmed().isEmpty()) return reply(res, 400, "regno required\n");
    if (!laden || !empty) return reply(res, 400, "laden and empty must be 0 to 99999\n");
    if (!after) return reply(res, 400, "after must be 0 to 86400 seconds\n");
    changeImct(lock, sites, res, [&](ImctService& imct) {
      const ImctFinding finding{param(req, "vessel"), *laden, *empty};
      if (req.has_param("after")) {
        imct.setFindingAfterFirstQuery(param(req, "regno"), finding, std::chrono::seconds(*after));
      } else {
        imct.setFinding(param(req, "regno"), finding);
      }
    });
  });
  posts.add("/_control/imct/nodata", [&](const httplib::Request& req, httplib::Response& res) {
    if (param(req, "regno").trimmed().isEmpty()) return reply(res, 400, "regno required\n");
    changeImct(lock, sites, res, [&](ImctService& imct) { imct.setNoData(param(req, "regno")); });
  });
  posts.add("/_control/imct/expire", [&](const httplib::Request&, httplib::Response& res) {
    changeImct(lock, sites, res, [](ImctService& imct) { imct.expireSessions(); });
  });
  posts.add("/_control/imct/title", [&](const httplib::Request& req, httplib::Response& res) {
    const std::optional<bool> on = flagParam(req, "on");
    if (!on) return reply(res, 400, "on must be 1 or 0\n");
    changeImct(lock, sites, res, [&](ImctService& imct) { imct.setTitleOnQueryPages(*on); });
  });
  posts.add("/_control/imct/reset", [&](const httplib::Request&, httplib::Response& res) {
    changeImct(lock, sites, res, [](ImctService& imct) { imct.reset(); });
  });
  server.Get("/_control/imct/sessions", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    res.set_content(std::to_string(sites.imct().sessionCount()) + "\n", "text/plain");
  });
}

}  // namespace tidex::sites::control
