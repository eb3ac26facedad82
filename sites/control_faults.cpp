#include "control_routes.h"

namespace tidex::sites::control {

void AddFaultControl(BodilessPosts& posts, std::mutex& lock, PortSites& sites,
                     std::atomic<unsigned>& recoveries) {
  for (const char* name : {"board", "imct", "customs", "maker"}) {
    const Service service = *ServiceNamed(QLatin1String(name));
    posts.add(std::string("/_control/faults/") + name,
              [&, service](const httplib::Request& req, httplib::Response& res) {
                const std::optional<Fault> fault = FaultNamed(param(req, "kind"));
                if (!fault) return reply(res, 400, "unknown kind\n");
                const std::optional<int> times = intParam(req, "times", 0, 0, 1'000'000);
                if (!times) return reply(res, 400, "times must be 0 to 1000000\n");
                std::lock_guard guard(lock);
                sites.setFault(service, *fault,
                               QByteArray::fromStdString(req.get_param_value("match")), *times);
                ++recoveries;
                reply(res, 200, "ok\n");
              });
  }
  posts.add("/_control/faults/reset", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    sites.clearFaults();
    ++recoveries;
    reply(res, 200, "ok\n");
  });
}

}  // namespace tidex::sites::control
