#include "browser_test_server.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace tidex::e2e {
namespace {

QByteArray reasonOf(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

// The request once its head and (by Content-Length) its body have arrived.
bool parseRequest(const QByteArray& data, SeenRequest& out) {
  const int headEnd = data.indexOf("\r\n\r\n");
  if (headEnd < 0) return false;
  const QList<QByteArray> lines = data.left(headEnd).split('\n');
  const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
  if (first.size() < 2) return false;
  qsizetype length = 0;
  for (const QByteArray& line : lines) {
    if (line.toLower().startsWith("content-length:")) length = line.mid(15).trimmed().toLongLong();
  }
  if (data.size() < headEnd + 4 + length) return false;
  out.method = first[0];
  out.target = first[1];
  out.body = data.mid(headEnd + 4, length);
  return true;
}

}  // namespace

BrowserTestServer::BrowserTestServer() {
  server_.listen(QHostAddress::LocalHost);
  connect(&server_, &QTcpServer::newConnection, this, &BrowserTestServer::accept);
}

QString BrowserTestServer::url(const QByteArray& path) const {
  return QStringLiteral("http://127.0.0.1:%1%2")
      .arg(server_.serverPort())
      .arg(QString::fromLatin1(path));
}

const SeenRequest* BrowserTestServer::lastRequestFor(const QByteArray& path) const {
  for (auto it = requests_.rbegin(); it != requests_.rend(); ++it) {
    if (it->target.split('?').value(0) == path) return &*it;
  }
  return nullptr;
}

quint16 BrowserTestServer::unusedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  const quint16 port = probe.serverPort();
  probe.close();
  return port;
}

void BrowserTestServer::accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
      if (socket->property("answered").toBool()) return;
      QByteArray data = socket->property("data").toByteArray() + socket->readAll();
      socket->setProperty("data", data);
      SeenRequest request;
      if (!parseRequest(data, request)) return;
      socket->setProperty("answered", true);
      requests_.push_back(request);
      answer(socket, request);
    });
  }
}

void BrowserTestServer::answer(QTcpSocket* socket, const SeenRequest& request) {
  const QByteArray path = request.target.split('?').value(0);
  auto it = pages_.find(path);
  const CannedPage page = it != pages_.end() ? it->second : CannedPage{404, "text/plain", "none"};
  QByteArray response = "HTTP/1.1 " + QByteArray::number(page.status) + ' ' +
                        reasonOf(page.status) + "\r\nContent-Type: " + page.contentType +
                        "\r\nContent-Length: " + QByteArray::number(page.body.size()) +
                        "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + page.body;
  QPointer<QTcpSocket> guard(socket);
  QTimer::singleShot(page.delayMs, this, [guard, response] {
    if (!guard) return;
    guard->write(response);
    guard->disconnectFromHost();
  });
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
