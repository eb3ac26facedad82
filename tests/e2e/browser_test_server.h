#pragma once

#include <map>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

#include "program_runner.h"

namespace tidex::e2e {

// A canned answer of the test server.
struct CannedPage {
  int status = 200;
  QByteArray contentType = "text/html; charset=utf-8";
  QByteArray body;
  int delayMs = 0;  // the answer is held back this long
};

// One request as the server saw it.
struct SeenRequest {
  QByteArray method;
  QByteArray target;  // path and query, raw bytes as sent
  QByteArray body;
};

// Canned pages for browser tests, served by tidex-sites on a loopback port of its own through
// its control interface: by path (any method and query), ahead of the simulated services, which
// answer everything else. Failures to reach tidex-sites are test failures.
class BrowserTestServer {
 public:
  BrowserTestServer();

  void serve(const QByteArray& path, const CannedPage& page);
  QString url(const QByteArray& path) const { return sites_.base() + QString::fromLatin1(path); }
  // Every request tidex-sites answered outside its control interface, oldest first.
  std::vector<SeenRequest> requests() const;
  // The last request for this path, if any.
  std::optional<SeenRequest> lastRequestFor(const QByteArray& path) const;

  // POST to the control interface of the services, e.g. "/_control/faults/board?kind=never".
  bool control(const QString& pathAndQuery) const { return sites_.control(pathAndQuery); }

  // A port nothing listens on (it was bound once and released).
  static quint16 unusedPort();

 private:
  SitesRunner sites_;
};

// Decodes application/x-www-form-urlencoded bytes into name → raw (still encoded) bytes.
std::map<QByteArray, QByteArray> formFields(const QByteArray& encoded);

}  // namespace tidex::e2e
