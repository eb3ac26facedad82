// tidex-sites: the simulated port web services over loopback.
//   tidex-sites --listen 127.0.0.1:PORT
// Control interface (for demos and end-to-end tests):
//   GET  /_control/log                  the request log, one request per line
//   POST /_control/maker/batch-list     body: the remote batch list, one number per line
#include <cstdio>
#include <httplib.h>

#include <QCoreApplication>
#include <QStringList>

#include "port_sites.h"

using tidex::sites::PortSites;
using tidex::sites::SiteRequest;

namespace {

QByteArray rawQuery(const httplib::Request& req) {
  const auto pos = req.target.find('?');
  return pos == std::string::npos ? QByteArray() : QByteArray::fromStdString(req.target.substr(pos + 1));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString listen = QStringLiteral("127.0.0.1:8080");
  const QStringList args = app.arguments();
  for (int i = 1; i + 1 < args.size(); ++i) {
    if (args[i] == QLatin1String("--listen")) listen = args[i + 1];
  }
  const int colon = listen.lastIndexOf(QLatin1Char(':'));
  const std::string host = listen.left(colon).toStdString();
  const int port = listen.mid(colon + 1).toInt();
  if (colon < 0 || port <= 0 || port > 65535) {
    std::fprintf(stderr, "usage: tidex-sites --listen HOST:PORT\n");
    return 2;
  }

  PortSites sites;
  std::mutex lock;  // httplib serves on worker threads
  httplib::Server server;

  server.Get("/_control/log", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    res.set_content(sites.requestLog().join(QLatin1Char('\n')).toStdString() + "\n", "text/plain");
  });
  server.Post("/_control/maker/batch-list", [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard guard(lock);
    sites.maker().setBatchList(QString::fromUtf8(req.body).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    res.set_content("ok\n", "text/plain");
  });
  auto serve = [&](const httplib::Request& req, httplib::Response& res) {
    SiteRequest request{QByteArray::fromStdString(req.method), QByteArray::fromStdString(req.path),
                        rawQuery(req), QByteArray::fromStdString(req.body)};
    std::lock_guard guard(lock);
    const auto response = sites.handle(request);
    res.status = response.status;
    res.set_content(response.body.toStdString(), response.contentType.toStdString());
  };
  server.Get(".*", serve);
  server.Post(".*", serve);

  if (!server.bind_to_port(host, port)) {
    std::fprintf(stderr, "tidex-sites: cannot listen on %s\n", qPrintable(listen));
    return 1;
  }
  std::printf("tidex-sites listening on %s\n", qPrintable(listen));
  std::fflush(stdout);
  server.listen_after_bind();
  return 0;
}
