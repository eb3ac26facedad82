#pragma once

#include <httplib.h>

#include <map>
#include <optional>
#include <string>

#include <QString>

// Helpers of the control interface of tidex-sites (built into the executable only).
namespace tidex::sites::control {

// A query parameter, UTF-8 percent-encoded.
QString param(const httplib::Request& req, const char* key);

// An integer parameter within [low, high], or fallback when absent; nullopt when invalid.
std::optional<int> intParam(const httplib::Request& req, const char* key, int fallback, int low,
                            int high);

// A parameter "1"/"true"/"on" or "0"/"false"/"off"; nullopt when absent or anything else.
std::optional<bool> flagParam(const httplib::Request& req, const char* key);

void reply(httplib::Response& res, int status, const char* text);

// Control POST routes that need no body. httplib answers 400 to a POST without Content-Length
// before routing it, so these are also served ahead of routing when the header is missing.
class BodilessPosts {
 public:
  explicit BodilessPosts(httplib::Server& server);
  void add(const std::string& path, const httplib::Server::Handler& handler);

 private:
  httplib::Server& server_;
  std::map<std::string, httplib::Server::Handler> routes_;
};

}  // namespace tidex::sites::control
