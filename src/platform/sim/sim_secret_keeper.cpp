#include "platform/sim/sim_secret_keeper.h"

#include "platform/desktop.h"

namespace tidex {
namespace {

class PendingAnswer final : public QueuedCall {
 public:
  PendingAnswer(VirtualClock& clock, VirtualClock::EventId id) : clock_(clock), id_(id) {}
  ~PendingAnswer() override { clock_.cancel(id_); }

 private:
  VirtualClock& clock_;
  VirtualClock::EventId id_;
};

}  // namespace

std::unique_ptr<QueuedCall> SimSecretKeeper::later(std::function<void()> answer) {
  return std::make_unique<PendingAnswer>(clock_, clock_.schedule(kAnswerDelay, std::move(answer)));
}

std::unique_ptr<QueuedCall> SimSecretKeeper::store(const QString& key, const QString& secret,
                                                   std::function<void(bool)> done) {
  if (available_) held_[key] = secret;
  return later([done = std::move(done), stored = available_] { done(stored); });
}

std::unique_ptr<QueuedCall> SimSecretKeeper::read(const QString& key,
                                                  std::function<void(SecretRead)> done) {
  SecretRead read;
  if (const auto it = held_.find(key); available_ && it != held_.end()) {
    read = {SecretRead::Outcome::Found, it->second};
  } else if (available_) {
    read.outcome = SecretRead::Outcome::Missing;
  }
  return later([done = std::move(done), read] { done(read); });
}

std::unique_ptr<QueuedCall> SimSecretKeeper::remove(const QString& key,
                                                    std::function<void(bool)> done) {
  const bool removed = available_ && held_.erase(key) > 0;
  return later([done = std::move(done), removed] { done(removed); });
}

}  // namespace tidex
