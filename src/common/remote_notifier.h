#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "common/remote_event.h"
#include "common/remote_targets.h"
#include "platform/desktop.h"
#include "platform/secret_keeper.h"

namespace tidex {

class EngineWatch;
class Journal;

// Tells the remote targets of Tidex.ini what happened, owned by the console. An event becomes
// one delivery per target that wants it; each is kept in the journal file until its target
// takes it, tried off the windows' path with a time limit, and tried again after growing delays
// when it fails. A delivery's id is the same on every try, so a receiver can drop a repeat.
// Without targets it follows the events and does nothing more: no file, no timer.
class RemoteNotifier final {
 public:
  static constexpr std::chrono::seconds kTryLimit{20};
  static constexpr std::chrono::seconds kFirstRetry{30};
  static constexpr std::chrono::hours kLongestRetry{24};
  static constexpr std::chrono::seconds kCheckPeriod{5};

  explicit RemoteNotifier(Journal& journal);
  ~RemoteNotifier();
  RemoteNotifier(const RemoteNotifier&) = delete;
  RemoteNotifier& operator=(const RemoteNotifier&) = delete;

  // Reads the targets, follows the journal's events and the engine's outages, and delivers what
  // an earlier run left undelivered.
  void start(EngineWatch& engine);
  // The targets changed in the settings file. Secrets kept in the keyring are read from there;
  // their targets are tried once those answered. A target just saved brings its own.
  void reloadTargets(const std::optional<RemoteTarget>& saved = std::nullopt);
  const std::vector<RemoteTarget>& targets() const { return targets_; }
  // Why a target is not used now, in a sentence for the user: it fails the settings window's
  // check, or its secret could not be read from the keyring. Nothing when it is in use.
  std::optional<QString> problemOf(const QString& name) const;
  // Every target with a problem, in file order: name and problem.
  std::vector<std::pair<QString, QString>> problems() const;

  // One delivery per target that wants the event now (quiet periods hold; silent mode does not).
  void post(const RemoteEvent& event);
  // Sends a test message to the target at once, outside the queue; done runs with the outcome.
  std::unique_ptr<QueuedCall> sendTest(const RemoteTarget& target,
                                       std::function<void(DeliveryOutcome)> done);

  // How long after its failed tries a delivery is tried again.
  static std::chrono::seconds retryDelay(int failedTries);

 private:
  void readSecret(const RemoteTarget& target);
  void secretRead(const QString& name, const SecretRead& read);
  // Checks the target as the settings window does; one that fails is not used, and said once.
  void check(const RemoteTarget& target);
  void postpone(const QString& name, const QString& detail);
  void tryDue();
  void finished(const QString& id, const QString& target, const DeliveryOutcome& outcome);
  void watchQueue();

  Journal& journal_;
  EngineWatch* engine_ = nullptr;
  std::vector<RemoteTarget> targets_;
  bool started_ = false;
  // One try at a time per target, by its name.
  std::map<QString, std::unique_ptr<QueuedCall>> sending_;
  // The keyring reads under way, by the target's name.
  std::map<QString, std::unique_ptr<QueuedCall>> secretReads_;
  // The targets not used, by name: why.
  std::map<QString, QString> unusable_;
  // The targets whose keyring read failed; read again before a send is due.
  std::set<QString> unreadSecrets_;
  // Name and problem of what the journal was told in this run.
  std::set<std::pair<QString, QString>> reported_;
  std::unique_ptr<TimerHandle> check_;
  std::unique_ptr<QueuedCall> tryNow_;
};

}  // namespace tidex
