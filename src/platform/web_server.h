#pragma once

#include <utility>
#include <vector>

#include <QByteArray>

namespace tidex {

// One HTTP request as a server sees it; the query and body stay raw bytes (Big5 forms).
struct WebRequest {
  QByteArray method = "GET";
  QByteArray path;
  QByteArray query;
  QByteArray body;
  QByteArray cookie{};  // the Cookie header as sent, "a=1; JSESSIONID=..."; empty without one
  QByteArray host{};    // the Host header as sent, "127.0.0.1:8080"
};

struct WebResponse {
  // How the server deals with the connection: it answers, refuses it, never answers, or
  // announces the whole body and closes the connection after half of it.
  enum class Delivery { Answer, Refused, Never, CutOff };

  int status = 200;
  QByteArray contentType = "text/html; charset=big5";
  QByteArray body;
  Delivery delivery = Delivery::Answer;
  // Further headers of the answer, in order, such as Set-Cookie.
  std::vector<std::pair<QByteArray, QByteArray>> headers{};

  static WebResponse refused() { return {0, {}, {}, Delivery::Refused}; }
  static WebResponse never() { return {0, {}, {}, Delivery::Never}; }
};

// An HTTP server answering in-process, whatever the host and port of the address.
class WebServer {
 public:
  virtual ~WebServer() = default;
  // Answers request and adds it to the server's request log, unless the connection is refused.
  virtual WebResponse handle(const WebRequest& request) = 0;
  // Answers a request already logged and held back, asked again: no new line in the log.
  virtual WebResponse respond(const WebRequest& request) = 0;
};

}  // namespace tidex
