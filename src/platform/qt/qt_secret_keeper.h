#pragma once

#include <chrono>

#include "platform/secret_keeper.h"

namespace tidex {

// The desktop's keyring through the keyring module (QtKeychain, loaded on first use). A
// desktop without a keyring service answers as a failure within kLimit, never later.
class QtSecretKeeper final : public SecretKeeper {
 public:
  static constexpr std::chrono::milliseconds kLimit{5000};

  std::unique_ptr<QueuedCall> store(const QString& key, const QString& secret,
                                    std::function<void(bool)> done) override;
  std::unique_ptr<QueuedCall> read(const QString& key,
                                   std::function<void(SecretRead)> done) override;
  std::unique_ptr<QueuedCall> remove(const QString& key, std::function<void(bool)> done) override;
};

}  // namespace tidex
