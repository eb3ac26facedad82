#include "control_http.h"

namespace tidex::sites::control {

QString param(const httplib::Request& req, const char* key) {
  return QString::fromStdString(req.get_param_value(key));
}

std::optional<int> intParam(const httplib::Request& req, const char* key, int fallback, int low,
                            int high) {
  if (!req.has_param(key)) return fallback;
  bool ok = false;
  const int value = param(req, key).toInt(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<bool> flagParam(const httplib::Request& req, const char* key) {
  const QString value = param(req, key).toLower();
  if (value == u"1" || value == u"true" || value == u"on") return true;
  if (value == u"0" || value == u"false" || value == u"off") return false;
  return std::nullopt;
}

void reply(httplib::Response& res, int status, const char* text) {
  res.status = status;
  res.set_content(text, "text/plain");
}

BodilessPosts::BodilessPosts(httplib::Server& server) : server_(server) {
  server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    const auto route = routes_.find(req.path);
    if (req.method != "POST" || req.has_header("Content-Length") ||
        req.has_header("Transfer-Encoding") || route == routes_.end()) {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    route->second(req, res);
    return httplib::Server::HandlerResponse::Handled;
  });
}

void BodilessPosts::add(const std::string& path, const httplib::Server::Handler& handler) {
  server_.Post(path, handler);
  routes_[path] = handler;
}

}  // namespace tidex::sites::control
