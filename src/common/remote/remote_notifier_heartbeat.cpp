// The notifier's heartbeat: a ping a dead-man's-switch service misses when the desk goes dark.
#include <algorithm>

#include "common/remote/remote_notifier.h"

namespace tidex {

void RemoteNotifier::scheduleHeartbeats() {
  heartbeats_.clear();
  pings_.clear();
  for (const RemoteTarget& target : targets_) {
    if (target.delivery.kind != DeliveryTarget::Kind::Heartbeat) continue;
    heartbeats_[target.name] = Desktop::current().startTimer(
        std::chrono::minutes(target.everyMinutes), [this, name = target.name] { ping(name); });
    ping(target.name);
  }
}

void RemoteNotifier::ping(const QString& name) {
  const auto target = std::find_if(targets_.begin(), targets_.end(),
                                   [&](const RemoteTarget& t) { return t.name == name; });
  if (target == targets_.end() || unusable_.contains(name)) return;
  if (!target->secretKnown) {
    if (!secretReads_.contains(name)) readSecret(*target);
    return;  // this period goes without: a late ping is the signal
  }
  if (pings_.contains(name)) return;  // the last one has not answered yet
  bool wrong = false;
  DeliveryMessage message;
  message.text = heartbeatReport(&wrong);
  DeliveryTarget where = target->delivery;
  if (wrong && !target->failSuffix.isEmpty()) where.address += target->failSuffix;
  pings_[name] = Desktop::current().remoteDelivery().send(
      where, message, kTryLimit, [this, name](const DeliveryOutcome& outcome) {
        if (auto it = pings_.find(name); it != pings_.end()) {
          Desktop::current().post([keep = std::shared_ptr<QueuedCall>(std::move(it->second))] {});
          pings_.erase(it);
        }
        const QDateTime now = Desktop::current().now();
        DeliveryHealth& health = health_[name];
        if (outcome.delivered) {
          health.delivered(now);
        } else {
          health.failed(now, FailureSentence(outcome), std::chrono::seconds::zero());
        }
      });
}

// "監看 12 個：監看中 10、警示中 1、無法讀取 1；通知對象無法傳送 0 個。" Wrong while a monitor is
// blind or another target fails.
QString RemoteNotifier::heartbeatReport(bool* wrong) const {
  const WatchCounts counts = watchCounts ? watchCounts() : WatchCounts{};
  int failing = 0;
  for (const RemoteTarget& target : targets_) {
    if (target.delivery.kind == DeliveryTarget::Kind::Heartbeat) continue;
    const auto it = health_.find(target.name);
    if (unusable_.contains(target.name) || (it != health_.end() && it->second.failing())) {
      ++failing;
    }
  }
  *wrong = counts.blind > 0 || failing > 0;
  return QStringLiteral(
             "Tidex 監看 %1 個：監看中 %2、警示中 %3、無法讀取 %4；通知對象無法傳送 %5 個。")
      .arg(counts.open)
      .arg(counts.watching)
      .arg(counts.alerting)
      .arg(counts.blind)
      .arg(failing);
}

}  // namespace tidex
