#include "platform/sim/sim_remote_delivery.h"

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

std::vector<DeliveryMessage> SimRemoteDelivery::accepted(const QString& address) const {
  std::vector<DeliveryMessage> messages;
  for (const SimDelivery& delivery : tries_) {
    if (delivery.accepted && delivery.target.address == address) {
      messages.push_back(delivery.message);
    }
  }
  return messages;
}

std::unique_ptr<QueuedCall> SimRemoteDelivery::send(const DeliveryTarget& target,
                                                    const DeliveryMessage& message,
                                                    std::chrono::milliseconds /*limit*/,
                                                    std::function<void(DeliveryOutcome)> done) {
  int& refusals = refusals_[target.address];
  const bool refused = refusals > 0 || (target.kind == DeliveryTarget::Kind::Apprise && !apprise_);
  if (refusals > 0) --refusals;
  tries_.push_back({target, message, clock_.now(), !refused});
  DeliveryOutcome outcome{!refused};
  if (refused && forGood_[target.address]) {
    outcome = {false, QStringLiteral("550 mailbox unavailable"), DeliveryOutcome::Failure::Refused,
               550, true};
  } else if (refused) {
    outcome = {false, QStringLiteral("Connection refused"), DeliveryOutcome::Failure::Unreachable};
  }
  const VirtualClock::EventId id =
      clock_.schedule(kAnswerDelay, [done = std::move(done), outcome] { done(outcome); });
  return std::make_unique<PendingAnswer>(clock_, id);
}

}  // namespace tidex
