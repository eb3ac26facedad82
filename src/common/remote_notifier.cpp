#include "common/remote_notifier.h"

#include <algorithm>

#include "common/engine_watch.h"
#include "common/journal.h"
#include "platform/remote_delivery.h"
#include "platform/secret_keeper.h"

namespace tidex {
namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString nowText() { return Desktop::current().now().toString(kTimeFormat); }

DeliveryMessage messageOf(const QueuedDelivery& delivery) {
  return {delivery.id, delivery.subject, delivery.text, delivery.json.toUtf8()};
}

}  // namespace

RemoteNotifier::RemoteNotifier(Journal& journal) : journal_(journal) {}

RemoteNotifier::~RemoteNotifier() {
  journal_.onRecorded = nullptr;
  if (engine_) engine_->onOutageChanged = nullptr;
}

void RemoteNotifier::start(EngineWatch& engine) {
  started_ = true;
  engine_ = &engine;
  journal_.onRecorded = [this](const JournalEntry& entry) {
    if (targets_.empty()) return;
    if (const auto kind = RemoteKindOfJournalEvent(entry.event)) {
      post(MakeRemoteEvent(*kind, entry.caption, entry.summary, entry.before, entry.after));
    }
  };
  engine.onOutageChanged = [this](bool outage) {
    if (targets_.empty()) return;
    post(MakeRemoteEvent(outage ? RemoteEventKind::EngineOutage : RemoteEventKind::EngineBack,
                         QString(), QString()));
  };
  reloadTargets();
}

void RemoteNotifier::reloadTargets() {
  // Without a target nothing is read but the settings file's list of them.
  targets_ = AnyRemoteTarget() ? ReadRemoteTargets() : std::vector<RemoteTarget>{};
  secretReads_.clear();
  for (const RemoteTarget& target : targets_) {
    if (!target.secretInKeyring) continue;
    secretReads_[target.name] = Desktop::current().secrets().read(
        SecretKey(target.name),
        [this, name = target.name](std::optional<QString> secret) { secretRead(name, secret); });
  }
  if (!targets_.empty() && started_) watchQueue();
}

void RemoteNotifier::secretRead(const QString& name, const std::optional<QString>& secret) {
  if (auto it = secretReads_.find(name); it != secretReads_.end()) {
    Desktop::current().post([keep = std::shared_ptr<QueuedCall>(std::move(it->second))] {});
    secretReads_.erase(it);
  }
  // Without it a try goes out all the same: its failure keeps the delivery for later.
  for (RemoteTarget& target : targets_) {
    if (target.name == name && secret) target.setSecret(*secret);
  }
  if (started_) watchQueue();
}

void RemoteNotifier::post(const RemoteEvent& event) {
  const DeliveryMessage message = ComposeMessage(event);
  const QTime time = event.time.time();
  bool queued = false;
  for (const RemoteTarget& target : targets_) {
    if (!target.wants(event.kind, time)) continue;
    journal_.deliveryQueue().keep({event.id + QLatin1Char('/') + target.name, target.name,
                                   message.subject, message.text, QString::fromUtf8(message.json),
                                   0, nowText()});
    queued = true;
  }
  if (queued) watchQueue();
}

std::unique_ptr<QueuedCall> RemoteNotifier::sendTest(const RemoteTarget& target,
                                                     std::function<void(DeliveryOutcome)> done) {
  RemoteEvent event = MakeRemoteEvent(RemoteEventKind::Test, target.name, QString());
  return Desktop::current().remoteDelivery().send(target.delivery, ComposeMessage(event), kTryLimit,
                                                  std::move(done));
}

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
  const QString now = nowText();
  for (const QueuedDelivery& delivery : queue.all()) {
    if (delivery.nextTry > now) break;
    if (sending_.contains(delivery.target) || secretReads_.contains(delivery.target)) continue;
    const auto target = std::find_if(targets_.begin(), targets_.end(),
                                     [&](const auto& t) { return t.name == delivery.target; });
    if (target == targets_.end()) {
      queue.remove(delivery.id);  // the target was removed
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
  if (delivery == all.end()) return;
  if (outcome.delivered) {
    queue.remove(id);
  } else {
    QueuedDelivery again = *delivery;
    ++again.tries;
    again.nextTry =
        Desktop::current().now().addSecs(retryDelay(again.tries).count()).toString(kTimeFormat);
    queue.keep(again);
  }
  watchQueue();
}

}  // namespace tidex
