#pragma once

#include <functional>
#include <memory>

#include <QString>

namespace tidex {

class QueuedCall;

// What a read of the keyring found: the secret, that it holds none, or no answer (no keyring
// service, a locked keyring, an error, no answer in time).
struct SecretRead {
  enum class Outcome { Found, Missing, Failed };
  Outcome outcome = Outcome::Failed;
  QString secret;
};

// The desktop's keyring, for the passwords and tokens of the remote notification targets. Every
// call answers later from the dispatch loop within a few seconds, also when no keyring service
// runs (then as a failure); nothing runs once the returned call is destroyed.
class SecretKeeper {
 public:
  virtual ~SecretKeeper() = default;
  // done(true) once the keyring holds the secret under the key.
  virtual std::unique_ptr<QueuedCall> store(const QString& key, const QString& secret,
                                            std::function<void(bool)> done) = 0;
  virtual std::unique_ptr<QueuedCall> read(const QString& key,
                                           std::function<void(SecretRead)> done) = 0;
  // Forgets the key; done(true) once it is gone.
  virtual std::unique_ptr<QueuedCall> remove(const QString& key,
                                             std::function<void(bool)> done) = 0;

 protected:
  SecretKeeper() = default;
  SecretKeeper(const SecretKeeper&) = default;
  SecretKeeper& operator=(const SecretKeeper&) = default;
};

}  // namespace tidex
