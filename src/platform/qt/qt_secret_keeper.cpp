#include "platform/qt/qt_secret_keeper.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QTimer>

#include "platform/desktop.h"
#include "platform/qt/keyring_module.h"

namespace tidex {
namespace {

// The keyring module beside the program (bin/../lib/tidex), loaded once and kept; null when it
// is missing or does not load, and then no secret reaches the keyring.
KeyringModule* keyringModule() {
  static KeyringModule* const module = []() -> KeyringModule* {
    static QLibrary library(QCoreApplication::applicationDirPath() +
                            QStringLiteral("/../lib/tidex/") +
                            QString::fromLatin1(kKeyringModuleFile));
    const auto entry = reinterpret_cast<KeyringModuleEntry>(library.resolve(kKeyringModuleEntry));
    if (!entry) qWarning("keyring module not loaded: %s", qPrintable(library.errorString()));
    return entry ? entry() : nullptr;
  }();
  return module;
}

// One answer per call: the keyring's, or the failure at the limit, whichever comes first; none
// once the call is destroyed.
class KeyringCall final : public QueuedCall {
 public:
  KeyringCall() : answered_(std::make_shared<bool>(false)) { timer_.setSingleShot(true); }
  ~KeyringCall() override { *answered_ = true; }

  // Runs job with the answer it is to give, and fail() at the limit (at once without a module).
  template <class Answer>
  void start(const std::function<void(KeyringModule&, std::function<void(Answer)>)>& job,
             std::function<void(Answer)> done, std::function<void()> fail) {
    QObject::connect(&timer_, &QTimer::timeout, [answered = answered_, fail] {
      if (std::exchange(*answered, true)) return;
      fail();
    });
    KeyringModule* module = keyringModule();
    timer_.start(module ? QtSecretKeeper::kLimit : std::chrono::milliseconds::zero());
    if (!module) return;
    job(*module, [answered = answered_, done = std::move(done)](Answer answer) {
      if (std::exchange(*answered, true)) return;
      done(std::move(answer));
    });
  }

 private:
  std::shared_ptr<bool> answered_;
  QTimer timer_;
};

}  // namespace

std::unique_ptr<QueuedCall> QtSecretKeeper::store(const QString& key, const QString& secret,
                                                  std::function<void(bool)> done) {
  auto call = std::make_unique<KeyringCall>();
  call->start<bool>(
      [key, secret](KeyringModule& module, std::function<void(bool)> answer) {
        module.store(key, secret, std::move(answer));
      },
      done, [done] { done(false); });
  return call;
}

std::unique_ptr<QueuedCall> QtSecretKeeper::read(const QString& key,
                                                 std::function<void(SecretRead)> done) {
  auto call = std::make_unique<KeyringCall>();
  call->start<SecretRead>(
      [key](KeyringModule& module, std::function<void(SecretRead)> answer) {
        module.read(key, std::move(answer));
      },
      done,
      [done] {
        done({SecretRead::Outcome::Failed, {}});
      });
  return call;
}

std::unique_ptr<QueuedCall> QtSecretKeeper::remove(const QString& key,
                                                   std::function<void(bool)> done) {
  auto call = std::make_unique<KeyringCall>();
  call->start<bool>(
      [key](KeyringModule& module, std::function<void(bool)> answer) {
        module.remove(key, std::move(answer));
      },
      done, [done] { done(false); });
  return call;
}

}  // namespace tidex
