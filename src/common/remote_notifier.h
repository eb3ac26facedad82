#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "common/remote_event.h"
#include "common/remote_targets.h"
#include "platform/desktop.h"

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
  // their targets are tried once those answered.
  void reloadTargets();
  const std::vector<RemoteTarget>& targets() const { return targets_; }

  // One delivery per target that wants the event now (quiet periods hold; silent mode does not).
  void post(const RemoteEvent& event);
  // Sends a test message to the target at once, outside the queue; done runs with the outcome.
  std::unique_ptr<QueuedCall> sendTest(const RemoteTarget& target,
                                       std::function<void(DeliveryOutcome)> done);

  // How long after its failed tries a delivery is tried again.
  static std::chrono::seconds retryDelay(int failedTries);

 private:
  void secretRead(const QString& name, const std::optional<QString>& secret);
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
  std::unique_ptr<TimerHandle> check_;
  std::unique_ptr<QueuedCall> tryNow_;
};

}  // namespace tidex
