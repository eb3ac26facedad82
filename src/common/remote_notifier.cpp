#include "common/remote_notifier.h"

#include <algorithm>

#include "common/engine_watch.h"
#include "common/journal.h"
#include "platform/journal_schema.h"
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

void RemoteNotifier::reloadTargets(const std::optional<RemoteTarget>& saved) {
  // Without a target nothing is read but the settings file's list of them.
  targets_ = AnyRemoteTarget() ? ReadRemoteTargets() : std::vector<RemoteTarget>{};
  secretReads_.clear();
  unusable_.clear();
  unreadSecrets_.clear();
  for (RemoteTarget& target : targets_) {
    if (saved && saved->name == target.name && saved->delivery.kind == target.delivery.kind &&
        !target.secretKnown) {
      target.takeKeptSecret(saved->keptSecret());
      target.secretKnown = true;
    }
    if (target.secretKnown) {
      check(target);
    } else {
      readSecret(target);
    }
  }
  if (!targets_.empty() && started_) watchQueue();
}

std::optional<QString> RemoteNotifier::problemOf(const QString& name) const {
  if (const auto it = unusable_.find(name); it != unusable_.end()) return it->second;
  if (unreadSecrets_.contains(name)) {
    return QStringLiteral("桌面金鑰圈沒有回應，無法取得密碼或權杖；傳送前會再試。");
  }
  return std::nullopt;
}

std::vector<std::pair<QString, QString>> RemoteNotifier::problems() const {
  std::vector<std::pair<QString, QString>> all;
  for (const RemoteTarget& target : targets_) {
    if (const auto problem = problemOf(target.name)) all.emplace_back(target.name, *problem);
  }
  return all;
}

void RemoteNotifier::check(const RemoteTarget& target) {
  const std::optional<QString> problem = CheckRemoteTarget(target);
  if (!problem) {
    unusable_.erase(target.name);
    return;
  }
  unusable_[target.name] = *problem;
  if (!reported_.insert({target.name, *problem}).second) return;
  journal_.record(target.name, journal::kind::kNotifyTarget, journal::event::kTargetUnusable,
                  QStringLiteral("通知對象未使用：") + *problem);
}

void RemoteNotifier::readSecret(const RemoteTarget& target) {
  secretReads_[target.name] = Desktop::current().secrets().read(
      SecretKey(target.name),
      [this, name = target.name](const SecretRead& read) { secretRead(name, read); });
}

void RemoteNotifier::secretRead(const QString& name, const SecretRead& read) {
  if (auto it = secretReads_.find(name); it != secretReads_.end()) {
    Desktop::current().post([keep = std::shared_ptr<QueuedCall>(std::move(it->second))] {});
    secretReads_.erase(it);
  }
  const auto target = std::find_if(targets_.begin(), targets_.end(),
                                   [&](const RemoteTarget& t) { return t.name == name; });
  if (target == targets_.end()) return;
  if (read.outcome == SecretRead::Outcome::Failed) {
    // Kept as it was: a send waits for the keyring rather than go without its secret.
    unreadSecrets_.insert(name);
    postpone(name, QStringLiteral("桌面金鑰圈沒有回應"));
    return;
  }
  unreadSecrets_.erase(name);
  if (read.outcome == SecretRead::Outcome::Found) target->takeKeptSecret(read.secret);
  target->secretKnown = true;
  check(*target);
  if (started_) watchQueue();
}

// Every delivery of the target now due counts a failed try.
void RemoteNotifier::postpone(const QString& name, const QString& detail) {
  const QString now = nowText();
  for (const QueuedDelivery& delivery : journal_.deliveryQueue().all()) {
    if (delivery.target == name && delivery.nextTry <= now)
      finished(delivery.id, name, {false, detail});
  }
}

void RemoteNotifier::post(const RemoteEvent& event) {
  const DeliveryMessage message = ComposeMessage(event);
  const QTime time = event.time.time();
  bool queued = false;
  for (const RemoteTarget& target : targets_) {
    if (!target.wants(event.kind, time) || unusable_.contains(target.name)) continue;
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
    if (unusable_.contains(target->name)) continue;  // kept until the target is mended
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
