#pragma once

#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>

namespace tidex::sites {

// One HTTP request as the services see it; the query and body stay raw bytes (Big5 forms).
struct SiteRequest {
  QByteArray method = "GET";
  QByteArray path;
  QByteArray query;
  QByteArray body;
  QByteArray cookie{};  // the Cookie header as sent, "a=1; JSESSIONID=..."; empty without one
  QByteArray host{};    // the Host header as sent, "127.0.0.1:8080"
};

struct SiteResponse {
  // How the server deals with the connection: it answers, refuses it, never answers, or
  // announces the whole body and closes the connection after half of it.
  enum class Delivery { Answer, Refused, Never, CutOff };

  int status = 200;
  QByteArray contentType = "text/html; charset=big5";
  QByteArray body;
  Delivery delivery = Delivery::Answer;
  // Further headers of the answer, in order, such as Set-Cookie.
  std::vector<std::pair<QByteArray, QByteArray>> headers{};

  static SiteResponse refused() { return {0, {}, {}, Delivery::Refused}; }
  static SiteResponse never() { return {0, {}, {}, Delivery::Never}; }
};

}  // namespace tidex::sites
