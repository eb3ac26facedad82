#include "platform/qt/qt_secret_keeper.h"

#include <QTimer>

#include <qt6keychain/keychain.h>

#include "platform/desktop.h"

namespace tidex {
namespace {

const QString kService = QStringLiteral("Tidex");

// One answer per call: the job's, or the failure at the limit, whichever comes first; none once
// the call is destroyed.
class KeyringCall final : public QueuedCall {
 public:
  explicit KeyringCall(QKeychain::Job* job) : answered_(std::make_shared<bool>(false)) {
    job->setAutoDelete(true);
    timer_.setSingleShot(true);
  }
  ~KeyringCall() override { *answered_ = true; }

  // Runs answer(job) when the job finishes, or fail() at the limit.
  void start(QKeychain::Job* job, std::function<void(QKeychain::Job&)> answer,
             std::function<void()> fail) {
    QObject::connect(job, &QKeychain::Job::finished, job,
                     [answered = answered_, answer](QKeychain::Job* finished) {
                       if (std::exchange(*answered, true)) return;
                       answer(*finished);
                     });
    QObject::connect(&timer_, &QTimer::timeout, [answered = answered_, fail] {
      if (std::exchange(*answered, true)) return;
      fail();
    });
    timer_.start(QtSecretKeeper::kLimit);
    job->start();
  }

 private:
  std::shared_ptr<bool> answered_;
  QTimer timer_;
};

}  // namespace

std::unique_ptr<QueuedCall> QtSecretKeeper::store(const QString& key, const QString& secret,
                                                  std::function<void(bool)> done) {
  auto* job = new QKeychain::WritePasswordJob(kService);
  job->setKey(key);
  job->setTextData(secret);
  auto call = std::make_unique<KeyringCall>(job);
  call->start(
      job, [done](QKeychain::Job& finished) { done(finished.error() == QKeychain::NoError); },
      [done] { done(false); });
  return call;
}

std::unique_ptr<QueuedCall> QtSecretKeeper::read(const QString& key,
                                                 std::function<void(std::optional<QString>)> done) {
  auto* job = new QKeychain::ReadPasswordJob(kService);
  job->setKey(key);
  auto call = std::make_unique<KeyringCall>(job);
  call->start(
      job,
      [done](QKeychain::Job& finished) {
        if (finished.error() != QKeychain::NoError) return done(std::nullopt);
        done(static_cast<QKeychain::ReadPasswordJob&>(finished).textData());
      },
      [done] { done(std::nullopt); });
  return call;
}

std::unique_ptr<QueuedCall> QtSecretKeeper::remove(const QString& key,
                                                   std::function<void(bool)> done) {
  auto* job = new QKeychain::DeletePasswordJob(kService);
  job->setKey(key);
  auto call = std::make_unique<KeyringCall>(job);
  call->start(
      job, [done](QKeychain::Job& finished) { done(finished.error() == QKeychain::NoError); },
      [done] { done(false); });
  return call;
}

}  // namespace tidex
