#pragma once

#include <map>
#include <vector>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpServer>

namespace tidex::e2e {

// A canned answer of the loopback test server.
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

// A loopback HTTP/1.0-style server for browser tests: one request per connection, answered
// from a table of canned pages by path (query ignored), 404 for anything else.
class BrowserTestServer final : public QObject {
 public:
  BrowserTestServer();

  void serve(const QByteArray& path, CannedPage page) { pages_[path] = std::move(page); }
  QString url(const QByteArray& path) const;
  const std::vector<SeenRequest>& requests() const { return requests_; }
  // The last request for this path, or null.
  const SeenRequest* lastRequestFor(const QByteArray& path) const;

  // A port nothing listens on (it was bound once and released).
  static quint16 unusedPort();

 private:
  void accept();
  void answer(class QTcpSocket* socket, const SeenRequest& request);

  QTcpServer server_;
  std::map<QByteArray, CannedPage> pages_;
  std::vector<SeenRequest> requests_;
};

// Decodes application/x-www-form-urlencoded bytes into name → raw (still encoded) bytes.
std::map<QByteArray, QByteArray> formFields(const QByteArray& encoded);

}  // namespace tidex::e2e
