#include "platform/qt/qt_remote_delivery.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThreadPool>
#include <QTimer>

#include "platform/desktop.h"
#include "platform/qt/qt_mail_send.h"

namespace tidex {
namespace {

// A try in progress: destroying it drops the answer (and ends the try where that can be done).
class PendingTry final : public QueuedCall {
 public:
  explicit PendingTry(QObject* work = nullptr)
      : dropped_(std::make_shared<bool>(false)), work_(work) {}
  ~PendingTry() override {
    *dropped_ = true;
    if (work_) work_->deleteLater();
  }
  std::shared_ptr<bool> dropped() const { return dropped_; }

 private:
  std::shared_ptr<bool> dropped_;  // read and written on the main thread only
  QPointer<QObject> work_;
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

}  // namespace

QtRemoteDelivery::QtRemoteDelivery() = default;
QtRemoteDelivery::~QtRemoteDelivery() = default;

std::unique_ptr<QueuedCall> QtRemoteDelivery::send(const DeliveryTarget& target,
                                                   const DeliveryMessage& message,
                                                   std::chrono::milliseconds limit,
                                                   std::function<void(DeliveryOutcome)> done) {
  switch (target.kind) {
    case DeliveryTarget::Kind::Email:
      return sendMail(target, message, limit, std::move(done));
    case DeliveryTarget::Kind::Webhook:
      return postWebhook(target, message, limit, std::move(done));
    case DeliveryTarget::Kind::Apprise:
      return runApprise(target, message, limit, std::move(done));
  }
  return nullptr;
}

bool QtRemoteDelivery::appriseAvailable() {
  return !QStandardPaths::findExecutable(QStringLiteral("apprise")).isEmpty();
}

std::unique_ptr<QueuedCall> QtRemoteDelivery::postWebhook(
    const DeliveryTarget& target, const DeliveryMessage& message, std::chrono::milliseconds limit,
    std::function<void(DeliveryOutcome)> done) {
  if (!network_) network_ = std::make_unique<QNetworkAccessManager>();
  QNetworkRequest request{QUrl(target.address)};
  request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/json"));
  // The receiver drops a repeat of a POST it has taken: a try that timed out after it did.
  request.setRawHeader("Idempotency-Key", message.id.toUtf8());
  if (!target.secret.isEmpty()) {
    request.setRawHeader("Authorization", "Bearer " + target.secret.toUtf8());
  }
  for (const auto& [name, value] : target.headers) {
    request.setRawHeader(name.toLatin1(), value.toUtf8());
  }
  request.setTransferTimeout(static_cast<int>(limit.count()));
  QNetworkReply* reply = network_->post(request, message.json);
  auto pending = std::make_unique<PendingTry>(reply);
  QObject::connect(
      reply, &QNetworkReply::finished, reply,
      [reply, dropped = pending->dropped(), done = std::move(done)] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        DeliveryOutcome outcome;
        outcome.delivered =
            reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
        if (!outcome.delivered) {
          outcome.detail = status ? QStringLiteral("HTTP %1").arg(status) : reply->errorString();
        }
        answer(dropped, done, outcome);
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
  auto* process = new QProcess;
  auto pending = std::make_unique<PendingTry>(process);
  const std::shared_ptr<bool> dropped = pending->dropped();
  if (!appriseAvailable()) {
    answer(dropped, done, {false, QStringLiteral("未安裝 apprise 指令")});
    return pending;
  }
  // The address holds the service's token: it goes in a configuration file only the user can
  // read, kept while the command runs, not on the command line that every user can list.
  auto* config = new QTemporaryFile(process);
  if (!config->open() || config->write(target.address.toUtf8() + '\n') < 0 || !config->flush()) {
    answer(dropped, done, {false, QStringLiteral("無法寫入暫存檔")});
    return pending;
  }
  process->setProcessChannelMode(QProcess::MergedChannels);
  auto timer = new QTimer(process);
  timer->setSingleShot(true);
  QObject::connect(timer, &QTimer::timeout, process, [process] { process->kill(); });
  QObject::connect(
      process, &QProcess::finished, process,
      [process, dropped, done](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        const bool delivered = status == QProcess::NormalExit && code == 0;
        answer(dropped, done,
               {delivered, delivered ? QString() : QStringLiteral("apprise 結束碼 %1").arg(code)});
      });
  QObject::connect(process, &QProcess::errorOccurred, process,
                   [process, dropped, done](QProcess::ProcessError error) {
                     if (error != QProcess::FailedToStart) return;
                     process->deleteLater();
                     answer(dropped, done, {false, QStringLiteral("無法執行 apprise")});
                   });
  process->start(QStringLiteral("apprise"),
                 {QStringLiteral("--config=") + config->fileName(), QStringLiteral("-t"),
                  message.subject, QStringLiteral("-b"), message.text});
  timer->start(limit);
  return pending;
}

}  // namespace tidex
