#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <set>

#include "control_routes.h"

namespace tidex::sites::control {
namespace {

// What the webhook receiver took: each POST with its Idempotency-Key and how it was answered.
struct WebhookReceiver {
  int failNext = 0;
  int redirectNext = 0;  // answered 302 to /hooks/elsewhere
  std::set<std::string> taken;
  QJsonArray posts;
};

}  // namespace

void AddWebhookReceiver(httplib::Server& server, BodilessPosts& posts, std::mutex& lock) {
  static WebhookReceiver receiver;
  server.Post("/hooks/tidex", [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard guard(lock);
    const std::string key = req.get_header_value("Idempotency-Key");
    QString answer;
    if (receiver.failNext > 0) {
      --receiver.failNext;
      answer = QStringLiteral("failed");
      reply(res, 503, "failing on demand\n");
    } else if (receiver.redirectNext > 0) {
      --receiver.redirectNext;
      answer = QStringLiteral("redirected");
      res.set_header("Location", "/hooks/elsewhere");
      reply(res, 302, "moved\n");
    } else if (!key.empty() && !receiver.taken.insert(key).second) {
      answer = QStringLiteral("repeat");
      reply(res, 200, "already taken\n");
    } else {
      answer = QStringLiteral("accepted");
      reply(res, 200, "ok\n");
    }
    receiver.posts.append(QJsonObject{
        {"key", QString::fromStdString(key)},
        {"answer", answer},
        {"authorization", QString::fromStdString(req.get_header_value("Authorization"))},
        {"body", QJsonDocument::fromJson(QByteArray::fromStdString(req.body)).object()}});
  });
  // Where a redirect points: every request that reaches it is recorded, whatever its method.
  const auto elsewhere = [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard guard(lock);
    receiver.posts.append(
        QJsonObject{{"answer", "elsewhere"}, {"method", QString::fromStdString(req.method)}});
    reply(res, 200, "ok\n");
  };
  server.Get("/hooks/elsewhere", elsewhere);
  server.Post("/hooks/elsewhere", elsewhere);
  server.Get("/_control/webhook/posts", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    res.set_content(QJsonDocument(receiver.posts).toJson().toStdString(), "application/json");
  });
  posts.add("/_control/webhook/fail", [&](const httplib::Request& req, httplib::Response& res) {
    const std::optional<int> times = intParam(req, "times", 1, 0, 1000000);
    if (!times) return reply(res, 400, "times must be 0 to 1000000\n");
    std::lock_guard guard(lock);
    receiver.failNext = *times;
    reply(res, 200, "ok\n");
  });
  posts.add("/_control/webhook/redirect", [&](const httplib::Request& req, httplib::Response& res) {
    const std::optional<int> times = intParam(req, "times", 1, 0, 1000000);
    if (!times) return reply(res, 400, "times must be 0 to 1000000\n");
    std::lock_guard guard(lock);
    receiver.redirectNext = *times;
    reply(res, 200, "ok\n");
  });
  posts.add("/_control/webhook/reset", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    receiver = WebhookReceiver{};
    reply(res, 200, "ok\n");
  });
}

void AddPingReceiver(httplib::Server& server, std::mutex& lock) {
  static QJsonArray pings;
  server.Post("/ping/.*", [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard guard(lock);
    pings.append(QJsonObject{{"path", QString::fromStdString(req.path)},
                             {"type", QString::fromStdString(req.get_header_value("Content-Type"))},
                             {"text", QString::fromUtf8(req.body)}});
    reply(res, 200, "OK\n");
  });
  server.Get("/_control/pings", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard guard(lock);
    res.set_content(QJsonDocument(pings).toJson().toStdString(), "application/json");
  });
}

}  // namespace tidex::sites::control
