#include "platform/qt/qt_remote_delivery.h"

#include <optional>

#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

#include "platform/desktop.h"
#include "platform/qt/qt_apprise_files.h"
#include "platform/qt/qt_mail_send.h"

namespace tidex {
namespace {

// A try in progress: destroying it drops the answer (and ends the try where that can be done).
class PendingTry final : public QueuedCall {
 public:
  explicit PendingTry(QObject* work = nullptr, std::function<void()> ended = {})
      : dropped_(std::make_shared<bool>(false)), work_(work), ended_(std::move(ended)) {}
  ~PendingTry() override {
    *dropped_ = true;
    if (work_) work_->deleteLater();
    if (ended_) ended_();
  }
  std::shared_ptr<bool> dropped() const { return dropped_; }

 private:
  std::shared_ptr<bool> dropped_;  // read and written on the main thread only
  QPointer<QObject> work_;
  std::function<void()> ended_;
};

// done, on the main thread's dispatch loop, unless the try was dropped meanwhile.
void answer(const std::shared_ptr<bool>& dropped, std::function<void(DeliveryOutcome)> done,
            DeliveryOutcome outcome) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [dropped, done = std::move(done), outcome = std::move(outcome)] {
        if (!*dropped) done(outcome);
      },
      Qt::QueuedConnection);
}

QString timeLimitDetail(std::chrono::milliseconds limit) {
  return QStringLiteral("逾時：%1 秒內未完成")
      .arg(std::chrono::duration_cast<std::chrono::seconds>(limit).count());
}

bool isLoopback(const QString& host) {
  if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0) return true;
  const QHostAddress address(host);
  return !address.isNull() && address.isLoopback();
}

// Why the address must not be posted to as it stands; nothing when it may. A heartbeat's
// address is its token; a webhook's token and headers are secrets.
std::optional<QString> postRefusal(const DeliveryTarget& target) {
  const QUrl url(target.address, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https")) {
    return QStringLiteral("位址須為 http:// 或 https:// 位址，不送出。");
  }
  const bool secret = target.kind == DeliveryTarget::Kind::Heartbeat || !target.secret.isEmpty() ||
                      !target.headers.isEmpty() || !url.userInfo().isEmpty();
  if (secret && scheme != u"https" && !isLoopback(url.host())) {
    return QStringLiteral("有密鑰的位址須使用 https://（本機位址除外），以免密鑰以明文傳送。");
  }
  return std::nullopt;
}

// A finished POST as the user is told it: a redirect is not followed, a refusal of the request
// itself (4xx but 408 and 429) will not change with another try.
DeliveryOutcome outcomeOf(QNetworkReply& reply, bool timedOut, std::chrono::milliseconds limit) {
  using Failure = DeliveryOutcome::Failure;
  const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (timedOut) return {false, timeLimitDetail(limit), Failure::Timeout};
  if (reply.error() == QNetworkReply::NoError && status >= 200 && status < 300) return {true};
  if (status >= 300 && status < 400) {
    return {false, QStringLiteral("HTTP %1：不接受轉址").arg(status), Failure::Redirect, status};
  }
  if (status >= 400) {
    const bool forGood = status < 500 && status != 408 && status != 429;
    return {false, QStringLiteral("HTTP %1").arg(status), Failure::Refused, status, forGood};
  }
  switch (reply.error()) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::NetworkSessionFailedError:
      return {false, reply.errorString(), Failure::Unreachable};
    case QNetworkReply::TimeoutError:
      return {false, reply.errorString(), Failure::Timeout};
    case QNetworkReply::SslHandshakeFailedError:
      return {false, reply.errorString(), Failure::Secure};
    default:
      return {false, reply.errorString(), Failure::Other};
  }
}

}  // namespace

QtRemoteDelivery::QtRemoteDelivery() = default;
// Tries still under way end with the program; their files go now.
QtRemoteDelivery::~QtRemoteDelivery() { RemoveAppriseConfigs(); }

std::unique_ptr<QueuedCall> QtRemoteDelivery::send(const DeliveryTarget& target,
                                                   const DeliveryMessage& message,
                                                   std::chrono::milliseconds limit,
                                                   std::function<void(DeliveryOutcome)> done) {
  switch (target.kind) {
    case DeliveryTarget::Kind::Email:
      return sendMail(target, message, limit, std::move(done));
    case DeliveryTarget::Kind::Webhook:
    case DeliveryTarget::Kind::Heartbeat:
      return post(target, message, limit, std::move(done));
    case DeliveryTarget::Kind::Apprise:
      return runApprise(target, message, limit, std::move(done));
  }
  return nullptr;
}

bool QtRemoteDelivery::appriseAvailable() {
  return !QStandardPaths::findExecutable(QStringLiteral("apprise")).isEmpty();
}

std::unique_ptr<QueuedCall> QtRemoteDelivery::post(const DeliveryTarget& target,
                                                   const DeliveryMessage& message,
                                                   std::chrono::milliseconds limit,
                                                   std::function<void(DeliveryOutcome)> done) {
  if (const auto refusal = postRefusal(target)) {
    auto pending = std::make_unique<PendingTry>();
    answer(pending->dropped(), std::move(done),
           {false, *refusal, DeliveryOutcome::Failure::Unusable, 0, true});
    return pending;
  }
  const bool ping = target.kind == DeliveryTarget::Kind::Heartbeat;
  if (!network_) {
    network_ = std::make_unique<QNetworkAccessManager>();
    network_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
  }
  QNetworkRequest request{QUrl(target.address)};
  // A redirect is not followed: the Authorization header and the message go where configured
  // or nowhere.
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
  // A ping carries how the watch stands as text.
  request.setHeader(
      QNetworkRequest::ContentTypeHeader,
      ping ? QByteArray("text/plain; charset=utf-8") : QByteArray("application/json"));
  // The receiver drops a repeat of a POST it has taken: a try that timed out after it did.
  if (!message.id.isEmpty()) request.setRawHeader("Idempotency-Key", message.id.toLatin1());
  if (!target.secret.isEmpty()) {
    request.setRawHeader("Authorization", "Bearer " + target.secret.toUtf8());
  }
  for (const auto& [name, value] : target.headers) {
    request.setRawHeader(name.toLatin1(), value.toUtf8());
  }
  request.setTransferTimeout(static_cast<int>(limit.count()));
  QNetworkReply* reply = network_->post(request, ping ? message.text.toUtf8() : message.json);
  auto pending = std::make_unique<PendingTry>(reply);
  // The limit is on the whole try: a receiver that keeps sending a byte now and then ends too.
  auto timedOut = std::make_shared<bool>(false);
  auto* timer = new QTimer(reply);
  timer->setSingleShot(true);
  QObject::connect(timer, &QTimer::timeout, reply, [reply, timedOut] {
    *timedOut = true;
    reply->abort();
  });
  timer->start(limit);
  QObject::connect(reply, &QNetworkReply::finished, reply,
                   [reply, timedOut, limit, dropped = pending->dropped(), done = std::move(done)] {
                     reply->deleteLater();
                     answer(dropped, done, outcomeOf(*reply, *timedOut, limit));
                   });
  return pending;
}

std::unique_ptr<QueuedCall> QtRemoteDelivery::sendMail(const DeliveryTarget& target,
                                                       const DeliveryMessage& message,
                                                       std::chrono::milliseconds limit,
                                                       std::function<void(DeliveryOutcome)> done) {
  PrepareMailSending();
  auto pending = std::make_unique<PendingTry>();
  // A dropped try still runs to its limit on its thread; only its answer is dropped.
  QThreadPool::globalInstance()->start(
      [target, message, limit, dropped = pending->dropped(), done = std::move(done)] {
        answer(dropped, done, SendMail(target, message, limit));
      });
  return pending;
}

std::unique_ptr<QueuedCall> QtRemoteDelivery::runApprise(
    const DeliveryTarget& target, const DeliveryMessage& message, std::chrono::milliseconds limit,
    std::function<void(DeliveryOutcome)> done) {
  if (!appriseAvailable()) {
    auto pending = std::make_unique<PendingTry>();
    answer(pending->dropped(), std::move(done),
           {false, QStringLiteral("未安裝 apprise 指令"), DeliveryOutcome::Failure::Unusable});
    return pending;
  }
  // The address holds the service's token: it goes in a configuration file only the user can
  // read, kept while the command runs, not on the command line that every user can list.
  const QString config = WriteAppriseConfig(target.address.toUtf8() + '\n');
  if (config.isEmpty()) {
    auto pending = std::make_unique<PendingTry>();
    answer(pending->dropped(), std::move(done), {false, QStringLiteral("無法寫入暫存檔")});
    return pending;
  }
  auto* process = new QProcess;
  // However the try ends, its file goes at once; a dropped try's command is ended too.
  auto pending = std::make_unique<PendingTry>(process, [config] { RemoveAppriseConfig(config); });
  const std::shared_ptr<bool> dropped = pending->dropped();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
  process->setProcessEnvironment(environment);
  process->setProcessChannelMode(QProcess::MergedChannels);
  auto timedOut = std::make_shared<bool>(false);
  auto* timer = new QTimer(process);
  timer->setSingleShot(true);
  QObject::connect(timer, &QTimer::timeout, process, [process, timedOut] {
    *timedOut = true;
    process->kill();
  });
  QObject::connect(
      process, &QProcess::finished, process,
      [process, config, timedOut, limit, dropped, done](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        RemoveAppriseConfig(config);
        const bool delivered = !*timedOut && status == QProcess::NormalExit && code == 0;
        QString detail;
        if (*timedOut) {
          detail = timeLimitDetail(limit);
        } else if (!delivered) {
          detail = QStringLiteral("apprise 結束碼 %1").arg(code);
        }
        answer(dropped, done, {delivered, detail});
      });
  QObject::connect(process, &QProcess::errorOccurred, process,
                   [process, config, dropped, done](QProcess::ProcessError error) {
                     if (error != QProcess::FailedToStart) return;
                     process->deleteLater();
                     RemoveAppriseConfig(config);
                     answer(dropped, done, {false, QStringLiteral("無法執行 apprise")});
                   });
  // Nothing of the message on the command line either: apprise reads the body from its input
  // when no -b is given. It has no way but -t for a title, so the subject is the body's first
  // line.
  process->start(QStringLiteral("apprise"), {QStringLiteral("--config=") + config});
  process->write((message.subject + QStringLiteral("\n\n") + message.text).toUtf8());
  process->closeWriteChannel();
  timer->start(limit);
  return pending;
}

}  // namespace tidex
