#include "common/remote/remote_notifier.h"

#include <algorithm>

#include "common/health/engine_watch.h"
#include "common/journal/journal.h"
#include "platform/journal_schema.h"
#include "platform/remote_delivery.h"
#include "platform/secret_keeper.h"

namespace tidex {
namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString nowText() { return Desktop::current().now().toString(kTimeFormat); }

}  // namespace

RemoteNotifier::RemoteNotifier(Journal& journal) : journal_(journal) {}

RemoteNotifier::~RemoteNotifier() {
  journal_.onRecorded = nullptr;
  if (engine_) engine_->onOutageChanged = nullptr;
}

void RemoteNotifier::start(EngineWatch& engine, ConsoleState& console) {
  started_ = true;
  engine_ = &engine;
  console_ = &console;
  journal_.onRecorded = [this](const JournalEntry& entry) {
    if (targets_.empty()) return;
    if (const auto kind = RemoteKindOfJournalEvent(entry.event)) {
      // The lines as the page showed them, as the change log shows them.
      const bool asShown = !entry.pageBefore.isEmpty() || !entry.pageAfter.isEmpty();
      post(MakeRemoteEvent(*kind, entry.caption, entry.summary,
                           asShown ? entry.pageBefore : entry.before,
                           asShown ? entry.pageAfter : entry.after));
    }
  };
  engine.onOutageChanged = [this](bool outage) {
    if (targets_.empty()) return;
    post(MakeRemoteEvent(outage ? RemoteEventKind::EngineOutage : RemoteEventKind::EngineBack,
                         QString(), QString()));
  };
  reloadTargets();
  if (targets_.empty()) return;
  recallHealth();
  announceStart();
}

void RemoteNotifier::reloadTargets(const std::optional<RemoteTarget>& saved) {
  // Without a target nothing is read but the settings file's list of them.
  targets_ = AnyRemoteTarget() ? ReadRemoteTargets() : std::vector<RemoteTarget>{};
  secretReads_.clear();
  unusable_.clear();
  unreadSecrets_.clear();
  if (saved) {
    // Mended or changed: it is tried at once, not after the back-off its failures earned.
    if (const auto it = health_.find(saved->name); it != health_.end()) {
      it->second.backOffUntil = QDateTime();
    }
    if (started_) release(saved->name);
  }
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
  if (started_) {
    scheduleSummaries();
    scheduleHeartbeats();
  }
}

std::optional<QString> RemoteNotifier::problemOf(const QString& name) const {
  if (const auto it = unusable_.find(name); it != unusable_.end()) return it->second;
  if (unreadSecrets_.contains(name)) {
    return QStringLiteral("桌面金鑰圈沒有回應，無法取得密碼或權杖；傳送前會再試。");
  }
  if (const auto it = health_.find(name); it != health_.end() && it->second.failing()) {
    return it->second.text(Desktop::current().now());
  }
  return std::nullopt;
}

QString RemoteNotifier::outcomeOf(const QString& name) const {
  if (const auto problem = problemOf(name)) return *problem;
  const auto it = health_.find(name);
  return it == health_.end() ? QString() : it->second.text(Desktop::current().now());
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
    postpone(name, {false, QStringLiteral("桌面金鑰圈沒有回應")});
    return;
  }
  unreadSecrets_.erase(name);
  if (read.outcome == SecretRead::Outcome::Found) target->takeKeptSecret(read.secret);
  target->secretKnown = true;
  check(*target);
  if (started_) watchQueue();
}

void RemoteNotifier::post(const RemoteEvent& event) {
  const QTime time = event.time.time();
  for (const RemoteTarget& target : targets_) {
    if (!target.wants(event.kind, time)) continue;
    if (IsAboutTarget(event.kind) && event.caption == target.name) continue;
    queueFor(target, event);
  }
}

void RemoteNotifier::queueFor(const RemoteTarget& target, const RemoteEvent& event) {
  if (unusable_.contains(target.name)) return;
  const DeliveryMessage message = ComposeMessage(event);
  journal_.deliveryQueue().keep({event.id + QLatin1Char('/') + target.name, target.name,
                                 message.subject, message.text, QString::fromUtf8(message.json), 0,
                                 nowText()});
  watchQueue();
}

std::unique_ptr<QueuedCall> RemoteNotifier::sendTest(const RemoteTarget& target,
                                                     std::function<void(DeliveryOutcome)> done) {
  RemoteEvent event = MakeRemoteEvent(RemoteEventKind::Test, target.name, QString());
  return Desktop::current().remoteDelivery().send(target.delivery, ComposeMessage(event), kTryLimit,
                                                  std::move(done));
}

}  // namespace tidex
