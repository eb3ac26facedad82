// tidex-sites: the simulated port web services over loopback.
//   tidex-sites --listen 127.0.0.1:PORT [--demo] [--demo-interval SECONDS]
//   tidex-sites --pilots-ini     prints the [pilots] section of Tidex.ini (Big5) and exits
// --demo moves the arrival of the first call at wharf 1108 (YM HARMONY unless changed) ten
// minutes later every 180 seconds, or every --demo-interval SECONDS (which implies --demo), and
// prints what moved.
//
// Control interface (for demos and end-to-end tests); parameters go in the query string,
// UTF-8 percent-encoded:
//   GET  /_control/log                  the request log, one request per line
//   GET  /_control/requests             every request the services received, oldest first: one
//                                       JSON object a line with method, target (path and query
//                                       as sent, bytes as Latin-1 characters) and body (base64)
//   POST /_control/page?path=&status=&type=&delay=    body: the page's bytes, served for any
//        method and query on path ahead of the services, delay ms late, with Cache-Control:
//        no-store; status defaults to 200, type to Big5 HTML, delay to 0
//   POST /_control/maker/batch-list     body: the remote batch list, one number per line
//   GET  /_control/board/calls          the board's calls, one per line, tab-separated
//   POST /_control/board/time?wharf=&vessel=&time=        arrival: HH:MM or yyyy/MM/dd HH:MM
//   POST /_control/board/departure?wharf=&vessel=&time=   departure, the same forms
//   POST /_control/board/berth?wharf=&vessel=&berth=
//   POST /_control/board/status?wharf=&vessel=&status=
//   POST /_control/board/pilot?wharf=&vessel=&number=     0000: none yet; empty: exempt
//   POST /_control/board/rename?wharf=&vessel=&name=
//   POST /_control/board/fail?status=500   answer board requests with that status
//   POST /_control/board/unreachable       close board connections without an answer
//   POST /_control/board/never             hold board requests without an answer
//   POST /_control/board/recover           end the failure modes; held requests get the board
//   POST /_control/board/reset             the default calls and no failure mode
//   POST /_control/faults/<service>?kind=&match=&times=   service: board, imct, customs or maker
//   (the
//        maker's pages and the mail form); kind: 500, 404, refused, never, download (a binary
//        attachment), redirect-loop, redirect-away (to /elsewhere/ on the other loopback name),
//        cut-off (half the announced page, then closed), huge (5 MB), many-elements (40,000
//        more), dialogs (alert, confirm, print and window.open in a loop), or none to end it;
//        with match, only requests whose path, raw query or body holds that text meet the fault;
//        with times (default 0: no end), the fault ends after that many requests met it
//   POST /_control/faults/reset            no fault on any service
// A change of a call answers 404 if the board has no such call, 400 if a parameter is missing.
//   POST /_control/imct/account?user=&password=     the one IMCT account (TIDEX / PASS at start)
//   POST /_control/imct/found?regno=&vessel=&laden=&empty=   the query answers container counts
//        for regno (any case); laden and empty 0 to 99999, default 0; with after=SECONDS (up to
//        86400) only from that long after the first query for regno, no data before
//   POST /_control/imct/nodata?regno=      the query answers no data for regno (as at start)
//   POST /_control/imct/expire             ends every IMCT session
//   POST /_control/imct/title?on=1|0       the service title on the query page and its answers
//   POST /_control/imct/reset              the start state: account, answers, sessions, title
//   GET  /_control/imct/sessions           the number of open IMCT sessions
//   GET  /_control/mail/submissions        the mail form's submissions as a JSON array, one
//                                          object of field name to value per submission
//   POST /_control/mail/form-again?on=1|0  the mail form's thanks page offers the form again
//   POST /_control/mail/reset              no submissions, thanks page without the form
//   POST /_control/customs/permits?regno=&laden=KHH1080:12,KHH2010:3   the permit query for
//        regno (any case) lists these permits with their laden containers (0 to 99999); laden
//        empty or absent: no laden containers (as for a number nothing was set for)
//   POST /_control/customs/fees?regno=&registered=1|0   port fees registered or not (not at
//        start)
//   POST /_control/customs/trouble?regno=&query=permits|fees&page=busy|error|none   that query
//        of regno answers the busy page, the processing-error page, or its own page again
//   POST /_control/customs/reset           nothing set for any number
//   POST /hooks/tidex                      a webhook receiver: 200 for a POST it takes, also
//                                          for a repeat of an Idempotency-Key it took (not
//                                          taken again), 503 while failing on demand, 302 to
//                                          /hooks/elsewhere while redirecting on demand
//   GET|POST /hooks/elsewhere              where the redirect points: records each request
//   GET  /_control/webhook/posts           its POSTs as a JSON array of objects: key, answer
//                                          (accepted, repeat, failed or redirected),
//                                          authorization, body; and the requests that reached
//                                          /hooks/elsewhere: answer elsewhere, method
//   POST /_control/webhook/fail?times=N    the next N POSTs fail (default 1; 0 ends it)
//   POST /_control/webhook/redirect?times=N  the next N POSTs are answered 302 (default 1)
//   POST /_control/webhook/reset           no POSTs, no failure, no redirect
//   POST /ping/...                         a dead-man's switch: 200 for any POST below /ping/
//   GET  /_control/pings                   its POSTs as a JSON array of objects: path, type
//                                          (the Content-Type), text (the body)
//
// A refused connection is closed without any answer; a request held by "never" is answered
// when "recover" or any change of a fault comes (held again if the fault still holds), and
// closed unanswered when its client goes away or after ten minutes.
#include <httplib.h>
#include <netdb.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include <QCoreApplication>
#include <QStringList>

#include "board_demo.h"
#include "control_routes.h"
#include "pilot_roster.h"
#include "port_sites.h"
#include "test_pages.h"

using tidex::sites::BoardService;
using tidex::sites::PortSites;
using tidex::sites::SiteRequest;
using tidex::sites::SiteResponse;
using tidex::sites::TestPages;
using tidex::sites::control::BodilessPosts;
using tidex::sites::control::intParam;
using tidex::sites::control::param;
using tidex::sites::control::reply;
using namespace std::chrono_literals;

namespace {

struct Options {
  QString listen = QStringLiteral("127.0.0.1:8080");
  bool demo = false;
  int demoSeconds = 180;
  bool pilotsIni = false;
};

bool parseOptions(const QStringList& args, Options& options) {
  for (int i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == QLatin1String("--listen") && hasValue) {
      options.listen = args[++i];
    } else if (arg == QLatin1String("--demo")) {
      options.demo = true;
    } else if (arg == QLatin1String("--demo-interval") && hasValue) {
      bool ok = false;
      options.demoSeconds = args[++i].toInt(&ok);
      if (!ok || options.demoSeconds <= 0) return false;
      options.demo = true;
    } else if (arg == QLatin1String("--pilots-ini")) {
      options.pilotsIni = true;
    } else {
      return false;
    }
  }
  return true;
}

QByteArray rawQuery(const httplib::Request& req) {
  const auto pos = req.target.find('?');
  return pos == std::string::npos ? QByteArray()
                                  : QByteArray::fromStdString(req.target.substr(pos + 1));
}

// A socket address as host and port numbers, as httplib reports its peers.
std::pair<std::string, int> endpoint(const sockaddr_storage& address, socklen_t length) {
  char host[NI_MAXHOST] = {};
  char port[NI_MAXSERV] = {};
  if (getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host, port,
                  sizeof port, NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
    return {};
  }
  return {host, std::atoi(port)};
}

// The socket of the connection req came on, found among the open descriptors by its two
// addresses (httplib does not hand it to handlers); -1 if none matches.
int connectionSocket(const httplib::Request& req) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    const int fd = std::atoi(entry.path().filename().c_str());
    sockaddr_storage local{}, peer{};
    socklen_t localLength = sizeof local, peerLength = sizeof peer;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) != 0 ||
        getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0) {
      continue;
    }
    if (endpoint(peer, peerLength) == std::pair(req.remote_addr, req.remote_port) &&
        endpoint(local, localLength).second == req.local_port) {
      return fd;
    }
  }
  return -1;
}

// Ends the connection without an answer; httplib's own answer then fails to send. Without the
// socket, answers 503 instead.
void closeUnanswered(int fd, httplib::Response& res) {
  if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
  res.status = 503;
  res.set_content("service unavailable\n", "text/plain");
}

bool clientGone(int fd) {
  char byte = 0;
  const ssize_t n = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
}

// Holds a request that never completes; true once recover() has come, false when the client
// has gone or after ten minutes.
bool holdUntilRecovered(int fd, const std::atomic<unsigned>& recoveries, unsigned seen) {
  const auto deadline = std::chrono::steady_clock::now() + 10min;
  while (std::chrono::steady_clock::now() < deadline) {
    if (recoveries != seen) return true;
    if (fd >= 0 && clientGone(fd)) return false;
    std::this_thread::sleep_for(100ms);
  }
  return false;
}

// Announces the whole body, sends its first half and ends the connection.
void sendHalf(const SiteResponse& response, httplib::Response& res) {
  auto body = std::make_shared<const std::string>(response.body.toStdString());
  res.set_content_provider(body->size(), response.contentType.toStdString(),
                           [body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                             const std::size_t half = body->size() / 2;
                             if (offset >= half)
                               return false;  // httplib gives up on the connection
                             return sink.write(body->data() + offset, half - offset);
                           });
}

QString callLine(const tidex::sites::VesselCall& call) {
  return QStringList{call.wharf,
                     call.vessel,
                     call.arrivalDate + QLatin1Char(' ') + call.arrivalTime,
                     call.departureDate + QLatin1Char(' ') + call.departureTime,
                     call.berth,
                     call.status,
                     call.pilotNumber.isEmpty() ? QStringLiteral("exempt") : call.pilotNumber,
                     call.pilotRequired ? QStringLiteral("/Y") : QStringLiteral("/N")}
      .join(QLatin1Char('\t'));
}

using CallEdit = std::function<bool(BoardService&, const QString& wharf, const QString& vessel,
                                    const QString& value)>;

void addBoardControl(httplib::Server& server, BodilessPosts& posts, std::mutex& lock,
                     PortSites& sites, std::atomic<unsigned>& recoveries) {
  const std::pair<const char*, std::pair<const char*, CallEdit>> edits[] = {
      {"time", {"time", &BoardService::setBerthTime}},
      {"departure", {"time", &BoardService::setDepartureTime}},
      {"berth", {"berth", &BoardService::setBerth}},
      {"status", {"status", &BoardService::setStatus}},
      {"pilot", {"number", &BoardService::assignPilot}},
      {"rename", {"name", &BoardService::renameVessel}},
  };
  for (const auto& [route, edit] : edits) {
    const char* key = edit.first;
    const CallEdit change = edit.second;
    posts.add(std::string("/_control/board/") + route, [&, key, change](const httplib::Request& req,
                                                                        httplib::Response& res) {
      if (!req.has_param("wharf") || !req.has_param("vessel") || !req.has_param(key)) {
        return reply(res, 400, "missing parameter\n");
      }
      std::lock_guard guard(lock);
      if (!change(sites.board(), param(req, "wharf"), param(req, "vessel"), param(req, key))) {
        return reply(res, 404, "no such call\n");
      }
      reply(res, 200, "ok\n");
    });
  }
  posts.add("/_control/board/fail", [&](const httplib::Request& req, httplib::Response& res) {
    const int status = param(req, "status").toInt();
    if (status < 400 || status > 599) return reply(res, 400, "status must be 400 to 599\n");
    std::lock_guard guard(lock);
    sites.board().failWith(status);
    reply(res, 200, "ok\n");
  });
  posts.add("/_control/board/unreachable", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    sites.board().setUnreachable(true);
    reply(res, 200, "ok\n");
  });
  posts.add("/_control/board/never", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    sites.board().setNeverCompletes(true);
    reply(res, 200, "ok\n");
  });
  posts.add("/_control/board/recover", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    sites.board().recover();
    ++recoveries;
    reply(res, 200, "ok\n");
  });
  posts.add("/_control/board/reset", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    sites.board().clearCalls();
    for (auto& call : BoardService::DefaultCalls()) sites.board().addCall(std::move(call));
    sites.board().recover();
    ++recoveries;
    reply(res, 200, "ok\n");
  });
  server.Get("/_control/board/calls", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    QString text;
    for (const auto& call : sites.board().calls()) text += callLine(call) + QLatin1Char('\n');
    res.set_content(text.toStdString(), "text/plain; charset=utf-8");
  });
}

void addTestPageControl(httplib::Server& server, BodilessPosts& posts, std::mutex& lock,
                        TestPages& pages) {
  posts.add("/_control/page", [&](const httplib::Request& req, httplib::Response& res) {
    const QByteArray path = QByteArray::fromStdString(req.get_param_value("path"));
    if (!path.startsWith('/') || path.startsWith("/_control/")) {
      return reply(res, 400, "path must start with / and not with /_control/\n");
    }
    const std::optional<int> status = intParam(req, "status", 200, 200, 599);
    if (!status) return reply(res, 400, "status must be 200 to 599\n");
    const std::optional<int> delay = intParam(req, "delay", 0, 0, 600'000);
    if (!delay) return reply(res, 400, "delay must be 0 to 600000 ms\n");
    const QByteArray type = req.has_param("type")
                                ? QByteArray::fromStdString(req.get_param_value("type"))
                                : SiteResponse().contentType;
    std::lock_guard guard(lock);
    pages.put(path, {*status, type, QByteArray::fromStdString(req.body)}, *delay);
    reply(res, 200, "ok\n");
  });
  server.Get("/_control/requests", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    res.set_content(pages.receivedJsonLines().toStdString(), "application/x-ndjson");
  });
}

// Every interval, moves one arrival at wharf 1108 and prints what moved.
void runDemo(std::stop_token stop, std::mutex& lock, PortSites& sites, int seconds) {
  while (!stop.stop_requested()) {
    const auto next = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < next) {
      if (stop.stop_requested()) return;
      std::this_thread::sleep_for(100ms);
    }
    QString moved;
    {
      std::lock_guard guard(lock);
      moved = tidex::sites::AdvanceDemoArrival(sites.board(), QStringLiteral("1108"));
    }
    if (moved.isEmpty()) moved = QStringLiteral("no call at wharf 1108 to move");
    std::printf("demo: %s\n", moved.toLocal8Bit().constData());
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Options options;
  if (!parseOptions(app.arguments(), options)) {
    std::fprintf(stderr,
                 "usage: tidex-sites --listen HOST:PORT [--demo] [--demo-interval SECONDS]\n"
                 "       tidex-sites --pilots-ini\n");
    return 2;
  }
  if (options.pilotsIni) {
    const QByteArray section = tidex::sites::PilotsIniSection();
    std::fwrite(section.constData(), 1, section.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  const qsizetype split = options.listen.lastIndexOf(QLatin1Char(':'));
  const std::string host = options.listen.left(split).toStdString();
  const int port = options.listen.mid(split + 1).toInt();
  if (split < 0 || port <= 0 || port > 65535) {
    std::fprintf(stderr, "usage: tidex-sites --listen HOST:PORT\n");
    return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);  // writing to a connection closed unanswered

  PortSites sites;
  TestPages pages(sites);
  std::mutex lock;  // httplib serves on worker threads
  std::atomic<unsigned> recoveries{0};
  httplib::Server server;
  // Held requests each keep a worker; leave enough for everything else.
  server.new_task_queue = [] { return new httplib::ThreadPool(64); };

  server.Get("/_control/log", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    res.set_content(sites.requestLog().join(QLatin1Char('\n')).toStdString() + "\n", "text/plain");
  });
  server.Post("/_control/maker/batch-list",
              [&](const httplib::Request& req, httplib::Response& res) {
                std::lock_guard guard(lock);
                sites.maker().setBatchList(
                    QString::fromUtf8(req.body).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
                res.set_content("ok\n", "text/plain");
              });
  BodilessPosts posts(server);
  addBoardControl(server, posts, lock, sites, recoveries);
  addTestPageControl(server, posts, lock, pages);
  tidex::sites::control::AddImctControl(server, posts, lock, sites);
  tidex::sites::control::AddMailControl(server, posts, lock, sites);
  tidex::sites::control::AddCustomsControl(posts, lock, sites);
  tidex::sites::control::AddFaultControl(posts, lock, sites, recoveries);
  tidex::sites::control::AddWebhookReceiver(server, posts, lock);
  tidex::sites::control::AddPingReceiver(server, lock);
  auto serve = [&](const httplib::Request& req, httplib::Response& res) {
    const SiteRequest request{QByteArray::fromStdString(req.method),
                              QByteArray::fromStdString(req.path),
                              rawQuery(req),
                              QByteArray::fromStdString(req.body),
                              QByteArray::fromStdString(req.get_header_value("Cookie")),
                              QByteArray::fromStdString(req.get_header_value("Host"))};
    std::unique_lock guard(lock);
    pages.record({request.method, QByteArray::fromStdString(req.target), request.body});
    SiteResponse response = sites.handle(request);
    using Delivery = SiteResponse::Delivery;
    while (response.delivery == Delivery::Refused || response.delivery == Delivery::Never) {
      const int fd = connectionSocket(req);
      if (response.delivery == Delivery::Refused) return closeUnanswered(fd, res);
      const unsigned seen = recoveries;
      guard.unlock();
      if (!holdUntilRecovered(fd, recoveries, seen)) return closeUnanswered(fd, res);
      guard.lock();
      response = sites.respond(request);
    }
    if (pages.has(request.path)) {
      res.set_header("Cache-Control", "no-store");
      const int delay = pages.delayMs(request.path);
      guard.unlock();
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    }
    res.status = response.status;
    for (const auto& [name, value] : response.headers) {
      res.set_header(name.toStdString(), value.toStdString());
    }
    if (response.delivery == Delivery::CutOff) return sendHalf(response, res);
    res.set_content(response.body.toStdString(), response.contentType.toStdString());
  };
  server.Get(".*", serve);
  server.Post(".*", serve);
  server.Put(".*", serve);
  server.Patch(".*", serve);
  server.Delete(".*", serve);
  server.Options(".*", serve);

  if (!server.bind_to_port(host, port)) {
    std::fprintf(stderr, "tidex-sites: cannot listen on %s\n", qPrintable(options.listen));
    return 1;
  }
  std::printf("tidex-sites listening on %s\n", qPrintable(options.listen));
  std::fflush(stdout);
  std::jthread demo;
  if (options.demo) {
    std::printf("demo: moving an arrival at wharf 1108 every %d s\n", options.demoSeconds);
    std::fflush(stdout);
    demo = std::jthread(runDemo, std::ref(lock), std::ref(sites), options.demoSeconds);
  }
  server.listen_after_bind();
  return 0;
}
