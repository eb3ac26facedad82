#pragma once

#include <memory>

#include "platform/remote_delivery.h"

class QNetworkAccessManager;

namespace tidex {

// The real senders: a webhook or a heartbeat's ping through Qt Network, a mail through libcurl on a
// worker thread, an Apprise address through the apprise command. Each try has its time limit, on
// the whole try, and none holds up the dispatch loop. Whatever the settings file says, an address
// of another kind than its target's, or one that would show a password or token to the network
// (plain SMTP with a login, plain HTTP with a token to another computer), is refused before
// anything is sent, and a webhook's redirect is a failed try, not followed.
class QtRemoteDelivery final : public RemoteDelivery {
 public:
  QtRemoteDelivery();
  ~QtRemoteDelivery() override;

  std::unique_ptr<QueuedCall> send(const DeliveryTarget& target, const DeliveryMessage& message,
                                   std::chrono::milliseconds limit,
                                   std::function<void(DeliveryOutcome)> done) override;
  bool appriseAvailable() override;

 private:
  // A webhook's JSON, or a heartbeat's ping with its text.
  std::unique_ptr<QueuedCall> post(const DeliveryTarget& target, const DeliveryMessage& message,
                                   std::chrono::milliseconds limit,
                                   std::function<void(DeliveryOutcome)> done);
  std::unique_ptr<QueuedCall> sendMail(const DeliveryTarget& target, const DeliveryMessage& message,
                                       std::chrono::milliseconds limit,
                                       std::function<void(DeliveryOutcome)> done);
  std::unique_ptr<QueuedCall> runApprise(const DeliveryTarget& target,
                                         const DeliveryMessage& message,
                                         std::chrono::milliseconds limit,
                                         std::function<void(DeliveryOutcome)> done);

  std::unique_ptr<QNetworkAccessManager> network_;
};

}  // namespace tidex
