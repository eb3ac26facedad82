// The queue's side of the notifier: which message goes when, what a try's outcome does to its
// message and to its target's health, and what the user is told of a target that fails.
#include <algorithm>

#include <QJsonDocument>
#include <QJsonObject>

#include "common/alerting/desktop_notice.h"
#include "common/journal/journal.h"
#include "common/remote/remote_notifier.h"
#include "platform/journal_schema.h"
#include "platform/remote_delivery.h"

namespace tidex {
namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString timeText(const QDateTime& time) { return time.toString(kTimeFormat); }

// The event's id, the body's "id": the queue keeps one delivery per event and target under
// "id/target".
QString eventIdOf(const QueuedDelivery& delivery) {
  return delivery.id.section(QLatin1Char('/'), 0, 0);
}

DeliveryMessage messageOf(const QueuedDelivery& delivery) {
  return {eventIdOf(delivery), delivery.subject, delivery.text, delivery.json.toUtf8()};
}

// When the event happened, as its body says; invalid for a body without it.
QDateTime happenedAt(const QueuedDelivery& delivery) {
  const QString time =
      QJsonDocument::fromJson(delivery.json.toUtf8()).object().value(u"time").toString();
  return QDateTime::fromString(time, Qt::ISODate);
}

}  // namespace

std::chrono::seconds RemoteNotifier::retryDelay(int failedTries) {
  std::chrono::seconds delay = kFirstRetry;
  for (int i = 1; i < failedTries && delay < kLongestRetry; ++i) delay *= 2;
  return std::min<std::chrono::seconds>(delay, kLongestRetry);
}

// A check now, and one every kCheckPeriod while anything waits.
void RemoteNotifier::watchQueue() {
  if (!tryNow_)
    tryNow_ = Desktop::current().queue([this] {
      Desktop::current().post([keep = std::shared_ptr<QueuedCall>(std::move(tryNow_))] {});
      tryDue();
    });
  if (!check_) check_ = Desktop::current().startTimer(kCheckPeriod, [this] { tryDue(); });
}

void RemoteNotifier::tryDue() {
  DeliveryQueue& queue = journal_.deliveryQueue();
  if (queue.empty()) {
    check_.reset();
    return;
  }
  const QDateTime now = Desktop::current().now();
  const QString nowTime = timeText(now);
  // A new message goes first: never held behind older ones its target failed.
  std::vector<QueuedDelivery> due = queue.all();
  std::stable_partition(due.begin(), due.end(), [](const auto& d) { return d.tries == 0; });
  for (const QueuedDelivery& delivery : due) {
    if (delivery.nextTry > nowTime) continue;
    if (sending_.contains(delivery.target) || secretReads_.contains(delivery.target)) continue;
    const auto target = std::find_if(targets_.begin(), targets_.end(),
                                     [&](const auto& t) { return t.name == delivery.target; });
    if (target == targets_.end()) {
      queue.remove(delivery.id);  // the target was removed
      continue;
    }
    if (const auto problem = unusable_.find(target->name); problem != unusable_.end()) {
      giveUp(delivery, problem->second);
      continue;
    }
    if (const QDateTime at = happenedAt(delivery);
        at.isValid() && at.addSecs(std::chrono::seconds(kOldest).count()) <= now) {
      giveUp(delivery, QStringLiteral("超過一天仍未送達"));
      continue;
    }
    const DeliveryHealth& health = health_[target->name];
    if (delivery.tries > 0 && health.backOffUntil.isValid() && health.backOffUntil > now) continue;
    if (!target->secretKnown) {
      readSecret(*target);  // a failed read is tried again before each due send
      continue;
    }
    sending_[delivery.target] = Desktop::current().remoteDelivery().send(
        target->delivery, messageOf(delivery), kTryLimit,
        [this, id = delivery.id, name = delivery.target](const DeliveryOutcome& outcome) {
          finished(id, name, outcome);
        });
  }
}

void RemoteNotifier::finished(const QString& id, const QString& target,
                              const DeliveryOutcome& outcome) {
  // The call that runs this is the send itself: it goes once this returns.
  if (auto it = sending_.find(target); it != sending_.end()) {
    Desktop::current().post([keep = std::shared_ptr<QueuedCall>(std::move(it->second))] {});
    sending_.erase(it);
  }
  DeliveryQueue& queue = journal_.deliveryQueue();
  const std::vector<QueuedDelivery> all = queue.all();
  const auto delivery =
      std::find_if(all.begin(), all.end(), [&](const auto& d) { return d.id == id; });
  const QDateTime now = Desktop::current().now();
  DeliveryHealth& health = health_[target];
  if (outcome.delivered) {
    if (delivery != all.end()) queue.remove(id);
    const bool wasTold = health.told;
    health.delivered(now);
    if (wasTold) {
      journal_.record(target, journal::kind::kNotifyTarget, journal::event::kTargetDelivers,
                      QStringLiteral("通知對象「%1」已恢復傳送").arg(target));
      if (console_) {
        NotifyDesktop(*console_, QStringLiteral("Tidex 通知對象恢復傳送"),
                      QStringLiteral("「%1」已恢復傳送。").arg(target));
      }
    }
    release(target);
  } else {
    health.failed(now, FailureSentence(outcome), retryDelay(health.failedTries + 1));
    if (delivery != all.end()) {
      QueuedDelivery again = *delivery;
      ++again.tries;
      if (outcome.permanent && again.tries >= kRefusalsForGood) {
        giveUp(again, FailureSentence(outcome));
      } else {
        again.nextTry = timeText(health.backOffUntil);
        queue.keep(again);
      }
    }
    tellIfFailing(target, health);
  }
  watchQueue();
}

// Every delivery of the target now due counts a failed try (the keyring did not answer).
void RemoteNotifier::postpone(const QString& name, const DeliveryOutcome& outcome) {
  const QString now = timeText(Desktop::current().now());
  for (const QueuedDelivery& delivery : journal_.deliveryQueue().all()) {
    if (delivery.target == name && delivery.nextTry <= now) finished(delivery.id, name, outcome);
  }
}

void RemoteNotifier::giveUp(const QueuedDelivery& delivery, const QString& why) {
  journal_.deliveryQueue().remove(delivery.id);
  JournalLines lines;
  lines.after = delivery.text;
  lines.pageAfter = delivery.text;
  journal_.record(
      delivery.target, journal::kind::kNotifyTarget, journal::event::kUndelivered,
      QStringLiteral("未送達「%1」：%2（%3）").arg(delivery.target, delivery.subject, why), lines);
}

void RemoteNotifier::tellIfFailing(const QString& name, DeliveryHealth& health) {
  const auto target = std::find_if(targets_.begin(), targets_.end(),
                                   [&](const RemoteTarget& t) { return t.name == name; });
  // A heartbeat that fails is only shown: the service it pings says so itself.
  if (target != targets_.end() && target->delivery.kind == DeliveryTarget::Kind::Heartbeat) return;
  const QDateTime now = Desktop::current().now();
  const bool long_ = health.failingSince.addSecs(std::chrono::seconds(kFailingFor).count()) <= now;
  if (health.told || (health.failedTries < kFailingTries && !long_)) return;
  health.told = true;
  const QString text = health.text(now);
  // The journal's row tells the other targets too.
  journal_.record(name, journal::kind::kNotifyTarget, journal::event::kTargetFailing, text);
  if (console_) {
    NotifyDesktop(*console_, QStringLiteral("Tidex 通知對象無法傳送"),
                  QStringLiteral("「%1」%2").arg(name, text));
  }
}

void RemoteNotifier::release(const QString& name) {
  const QString now = timeText(Desktop::current().now());
  DeliveryQueue& queue = journal_.deliveryQueue();
  for (QueuedDelivery delivery : queue.all()) {
    if (delivery.target != name || delivery.nextTry <= now) continue;
    delivery.nextTry = now;
    queue.keep(delivery);
  }
  if (!queue.empty()) watchQueue();
}

// A target whose messages an earlier run failed to deliver fails still, until it takes one.
void RemoteNotifier::recallHealth() {
  for (const QueuedDelivery& delivery : journal_.deliveryQueue().all()) {
    if (delivery.tries == 0) continue;
    DeliveryHealth& health = health_[delivery.target];
    const QDateTime at = happenedAt(delivery);
    if (!health.failing() || (at.isValid() && at < health.failingSince)) {
      health.failingSince = at.isValid() ? at : Desktop::current().now();
    }
    health.failedTries = std::max(health.failedTries, delivery.tries);
    health.lastError = QStringLiteral("上次執行時傳送失敗");
  }
}

}  // namespace tidex
