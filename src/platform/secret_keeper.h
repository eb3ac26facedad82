#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QString>

namespace tidex {

class QueuedCall;

// The desktop's keyring, for the passwords and tokens of the remote notification targets. Every
// call answers later from the dispatch loop within a few seconds, also when no keyring service
// runs (then as a failure); nothing runs once the returned call is destroyed.
class SecretKeeper {
 public:
  virtual ~SecretKeeper() = default;
  // done(true) once the keyring holds the secret under the key.
  virtual std::unique_ptr<QueuedCall> store(const QString& key, const QString& secret,
                                            std::function<void(bool)> done) = 0;
  // done(the secret), or done(nothing) when the keyring has none or cannot be reached.
  virtual std::unique_ptr<QueuedCall> read(const QString& key,
                                           std::function<void(std::optional<QString>)> done) = 0;
  // Forgets the key; done(true) once it is gone.
  virtual std::unique_ptr<QueuedCall> remove(const QString& key,
                                             std::function<void(bool)> done) = 0;

 protected:
  SecretKeeper() = default;
  SecretKeeper(const SecretKeeper&) = default;
  SecretKeeper& operator=(const SecretKeeper&) = default;
};

}  // namespace tidex
