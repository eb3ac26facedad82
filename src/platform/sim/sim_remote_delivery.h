#pragma once

#include <map>
#include <vector>

#include <QDateTime>

#include "platform/remote_delivery.h"
#include "platform/sim/virtual_clock.h"

namespace tidex {

// One try of a send as the simulated receiver saw it.
struct SimDelivery {
  DeliveryTarget target;
  DeliveryMessage message;
  QDateTime at;
  bool accepted = false;
};

// The receivers of remote notifications for tests: every try is recorded and answered after a
// short network delay on the virtual clock; a test makes an address refuse its next tries.
class SimRemoteDelivery final : public RemoteDelivery {
 public:
  static constexpr std::chrono::milliseconds kAnswerDelay{500};

  explicit SimRemoteDelivery(VirtualClock& clock) : clock_(clock) {}

  // The next count tries to the address fail, for now (connection refused) or for good
  // (answered with a refusal).
  void refuse(const QString& address, int count, bool forGood = false) {
    refusals_[address] = count;
    forGood_[address] = forGood;
  }
  void setAppriseAvailable(bool available) { apprise_ = available; }
  const std::vector<SimDelivery>& tries() const { return tries_; }
  // The messages the address accepted, in order.
  std::vector<DeliveryMessage> accepted(const QString& address) const;

  std::unique_ptr<QueuedCall> send(const DeliveryTarget& target, const DeliveryMessage& message,
                                   std::chrono::milliseconds limit,
                                   std::function<void(DeliveryOutcome)> done) override;
  bool appriseAvailable() override { return apprise_; }

 private:
  VirtualClock& clock_;
  std::map<QString, int> refusals_;
  std::map<QString, bool> forGood_;
  std::vector<SimDelivery> tries_;
  bool apprise_ = true;
};

}  // namespace tidex
