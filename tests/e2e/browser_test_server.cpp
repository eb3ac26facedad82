#include "browser_test_server.h"

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QUrl>

namespace tidex::e2e {

BrowserTestServer::BrowserTestServer() {
  if (!sites_.started()) ADD_FAILURE() << "tidex-sites did not start";
}

void BrowserTestServer::serve(const QByteArray& path, const CannedPage& page) {
  const QByteArray target = "/_control/page?path=" + QUrl::toPercentEncoding(path) +
                            "&status=" + QByteArray::number(page.status) +
                            "&type=" + QUrl::toPercentEncoding(page.contentType) +
                            "&delay=" + QByteArray::number(page.delayMs);
  const HttpAnswer answer = httpSend(sites_.base(), "POST", target, page.body);
  if (answer.status != 200) {
    ADD_FAILURE() << "cannot serve " << path.constData() << ": " << answer.status << ' '
                  << answer.body.constData();
  }
}

std::vector<SeenRequest> BrowserTestServer::requests() const {
  const HttpAnswer answer = httpSend(sites_.base(), "GET", "/_control/requests");
  if (answer.status != 200) ADD_FAILURE() << "no request record: " << answer.status;
  std::vector<SeenRequest> seen;
  for (const QByteArray& line : answer.body.split('\n')) {
    if (line.isEmpty()) continue;
    const QJsonObject request = QJsonDocument::fromJson(line).object();
    if (request.isEmpty()) ADD_FAILURE() << "bad request record line: " << line.constData();
    seen.push_back({request["method"].toString().toLatin1(),
                    request["target"].toString().toLatin1(),
                    QByteArray::fromBase64(request["body"].toString().toLatin1())});
  }
  return seen;
}

std::optional<SeenRequest> BrowserTestServer::lastRequestFor(const QByteArray& path) const {
  const std::vector<SeenRequest> seen = requests();
  for (auto it = seen.rbegin(); it != seen.rend(); ++it) {
    if (it->target.split('?').value(0) == path) return *it;
  }
  return std::nullopt;
}

quint16 BrowserTestServer::unusedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  const quint16 port = probe.serverPort();
  probe.close();
  return port;
}

std::map<QByteArray, QByteArray> formFields(const QByteArray& encoded) {
  std::map<QByteArray, QByteArray> fields;
  for (const QByteArray& pair : encoded.split('&')) {
    const int eq = pair.indexOf('=');
    if (eq > 0) fields[pair.left(eq)] = pair.mid(eq + 1);
  }
  return fields;
}

}  // namespace tidex::e2e
