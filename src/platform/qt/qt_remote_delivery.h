#pragma once

#include <memory>

#include "platform/remote_delivery.h"

class QNetworkAccessManager;

namespace tidex {

// The real senders: a webhook through Qt Network, a mail through libcurl on a worker thread,
// an Apprise address through the apprise command. Each try has its time limit and none holds
// up the dispatch loop.
class QtRemoteDelivery final : public RemoteDelivery {
 public:
  QtRemoteDelivery();
  ~QtRemoteDelivery() override;

  std::unique_ptr<QueuedCall> send(const DeliveryTarget& target, const DeliveryMessage& message,
                                   std::chrono::milliseconds limit,
                                   std::function<void(DeliveryOutcome)> done) override;
  bool appriseAvailable() override;

 private:
  std::unique_ptr<QueuedCall> postWebhook(const DeliveryTarget& target,
                                          const DeliveryMessage& message,
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
