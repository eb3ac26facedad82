#include "control_routes.h"

namespace tidex::sites::control {

void AddMailControl(httplib::Server& server, BodilessPosts& posts, std::mutex& lock,
                    PortSites& sites) {
  server.Get("/_control/mail/submissions", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    res.set_content(sites.mail().submissionsJson().toStdString(), "application/json");
  });
  posts.add("/_control/mail/form-again", [&](const httplib::Request& req, httplib::Response& res) {
    const std::optional<bool> on = flagParam(req, "on");
    if (!on) return reply(res, 400, "on must be 1 or 0\n");
    std::lock_guard guard(lock);
    sites.mail().setAnswerOffersForm(*on);
    reply(res, 200, "ok\n");
  });
  posts.add("/_control/mail/reset", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    sites.mail().reset();
    reply(res, 200, "ok\n");
  });
}

}  // namespace tidex::sites::control
