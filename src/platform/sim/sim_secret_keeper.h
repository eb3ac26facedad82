#pragma once

#include <map>

#include "platform/secret_keeper.h"
#include "platform/sim/virtual_clock.h"

namespace tidex {

// A keyring for tests: answers after a short delay on the virtual clock; a test takes it away
// (as on a desktop without a keyring service, or one still locked at login: every call fails).
class SimSecretKeeper final : public SecretKeeper {
 public:
  static constexpr std::chrono::milliseconds kAnswerDelay{100};

  explicit SimSecretKeeper(VirtualClock& clock) : clock_(clock) {}

  void setAvailable(bool available) { available_ = available; }
  const std::map<QString, QString>& held() const { return held_; }

  std::unique_ptr<QueuedCall> store(const QString& key, const QString& secret,
                                    std::function<void(bool)> done) override;
  std::unique_ptr<QueuedCall> read(const QString& key,
                                   std::function<void(SecretRead)> done) override;
  std::unique_ptr<QueuedCall> remove(const QString& key, std::function<void(bool)> done) override;

 private:
  std::unique_ptr<QueuedCall> later(std::function<void()> answer);

  VirtualClock& clock_;
  bool available_ = true;
  std::map<QString, QString> held_;
};

}  // namespace tidex
