// The keyring module: the desktop's keyring through QtKeychain (the Secret Service, libsecret
// underneath), built as a library of its own that the program loads only when it needs it.

#include "platform/qt/keyring_module.h"

#include <QObject>
#include <QtGlobal>

#include <qt6keychain/keychain.h>

namespace tidex {
namespace {

const QString kService = QStringLiteral("Tidex");

// Starts job and hands it to answer once it finishes; the job deletes itself afterwards.
void run(QKeychain::Job* job, std::function<void(QKeychain::Job&)> answer) {
  job->setAutoDelete(true);
  QObject::connect(job, &QKeychain::Job::finished, job,
                   [answer = std::move(answer)](QKeychain::Job* finished) { answer(*finished); });
  job->start();
}

class QtKeychainModule final : public KeyringModule {
 public:
  void store(const QString& key, const QString& secret, std::function<void(bool)> done) override {
    auto* job = new QKeychain::WritePasswordJob(kService);
    job->setKey(key);
    job->setTextData(secret);
    run(job, [done = std::move(done)](QKeychain::Job& finished) {
      done(finished.error() == QKeychain::NoError);
    });
  }

  void read(const QString& key, std::function<void(SecretRead)> done) override {
    auto* job = new QKeychain::ReadPasswordJob(kService);
    job->setKey(key);
    run(job, [done = std::move(done)](QKeychain::Job& finished) {
      using Outcome = SecretRead::Outcome;
      if (finished.error() == QKeychain::EntryNotFound) return done({Outcome::Missing, {}});
      if (finished.error() != QKeychain::NoError) return done({Outcome::Failed, {}});
      done({Outcome::Found, static_cast<QKeychain::ReadPasswordJob&>(finished).textData()});
    });
  }

  void remove(const QString& key, std::function<void(bool)> done) override {
    auto* job = new QKeychain::DeletePasswordJob(kService);
    job->setKey(key);
    run(job, [done = std::move(done)](QKeychain::Job& finished) {
      done(finished.error() == QKeychain::NoError);
    });
  }
};

}  // namespace
}  // namespace tidex

extern "C" Q_DECL_EXPORT tidex::KeyringModule* tidex_keyring_module() {
  static tidex::QtKeychainModule module;
  return &module;
}
