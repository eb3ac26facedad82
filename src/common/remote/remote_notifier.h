#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "common/health/monitor_status.h"
#include "common/remote/delivery_health.h"
#include "common/remote/remote_event.h"
#include "common/remote/remote_targets.h"
#include "platform/desktop.h"
#include "platform/journal_store.h"
#include "platform/secret_keeper.h"

namespace tidex {

class ConsoleState;
class EngineWatch;
class Journal;

// Tells the remote targets of Tidex.ini what happened, owned by the console. An event becomes
// one delivery per target that wants it; each is kept in the journal file until its target
// takes it, tried off the windows' path with a time limit. A target that fails backs off with
// growing delays, its new messages still tried at once; one that fails for a while is said (a
// desktop notice, the journal, the other targets); a message it refuses for good, or that is a
// day old, is given up and kept in the journal. A delivery's id is the same on every try, so a
// receiver can drop a repeat. Without targets it follows the events and does nothing more: no
// file, no timer.
class RemoteNotifier final {
 public:
  static constexpr std::chrono::seconds kTryLimit{20};
  static constexpr std::chrono::seconds kFirstRetry{30};
  static constexpr std::chrono::hours kLongestRetry{24};
  static constexpr std::chrono::seconds kCheckPeriod{5};
  // A target is said to fail after this many failed tries in a row or this long.
  static constexpr int kFailingTries = 5;
  static constexpr std::chrono::minutes kFailingFor{30};
  // A message refused for good this many times, or this old, is given up.
  static constexpr int kRefusalsForGood = 3;
  static constexpr std::chrono::hours kOldest{24};
  // How long an ending program waits for its targets to take the news.
  static constexpr std::chrono::seconds kEndWait{3};

  explicit RemoteNotifier(Journal& journal);
  ~RemoteNotifier();
  RemoteNotifier(const RemoteNotifier&) = delete;
  RemoteNotifier& operator=(const RemoteNotifier&) = delete;

  // Reads the targets, follows the journal's events and the engine's outages, and delivers what
  // an earlier run left undelivered. A failing target is told on the console's desktop.
  void start(EngineWatch& engine, ConsoleState& console);
  // The targets changed in the settings file. Secrets kept in the keyring are read from there;
  // their targets are tried once those answered. A target just saved brings its own, and its
  // messages are tried at once.
  void reloadTargets(const std::optional<RemoteTarget>& saved = std::nullopt);
  const std::vector<RemoteTarget>& targets() const { return targets_; }
  // Whether an ending waits to tell the targets.
  bool tellsEnding() const { return !targets_.empty(); }
  // Why a target is not used now or fails, in a sentence for the user: it fails the settings
  // window's check, its secret could not be read from the keyring, or its tries fail. Nothing
  // when it delivers.
  std::optional<QString> problemOf(const QString& name) const;
  // Every target with a problem, in file order: name and problem.
  std::vector<std::pair<QString, QString>> problems() const;
  // How the target's deliveries have gone: its last delivery or since when it fails, why.
  QString outcomeOf(const QString& name) const;

  // One delivery per target that wants the event now (quiet periods hold; silent mode does not).
  void post(const RemoteEvent& event);
  // The program is ending, for the reason given ("結束程式", "工作階段結束" …): the targets that
  // want it are told, and end runs once they took it or after kEndWait; at once without any.
  // What they did not take goes at the next start, marked late.
  void programEnding(const QString& why, std::function<void()> end);
  // Sends a test message to the target at once, outside the queue; done runs with the outcome.
  std::unique_ptr<QueuedCall> sendTest(const RemoteTarget& target,
                                       std::function<void(DeliveryOutcome)> done);

  // How long after its failed tries a target is tried again.
  static std::chrono::seconds retryDelay(int failedTries);

  // How the monitors stand, for the heartbeat's report (the console's open windows).
  std::function<WatchCounts()> watchCounts;

 private:
  void readSecret(const RemoteTarget& target);
  void secretRead(const QString& name, const SecretRead& read);
  // Checks the target as the settings window does; one that fails is not used, and said once.
  void check(const RemoteTarget& target);
  void postpone(const QString& name, const DeliveryOutcome& outcome);
  void tryDue();
  void finished(const QString& id, const QString& target, const DeliveryOutcome& outcome);
  // Gives the message up: out of the queue, into the journal with its text.
  void giveUp(const QueuedDelivery& delivery, const QString& why);
  // After a failed try: the user is told once the target has failed for a while.
  void tellIfFailing(const QString& name, DeliveryHealth& health);
  // Its messages waiting for a back-off are due now.
  void release(const QString& name);
  // What an earlier run left failing.
  void recallHealth();
  // The start told, with how the last run ended; a last run's end not sent marked late.
  void announceStart();
  // Each target with a summary time gets the day before once a day, a missed one at once.
  void scheduleSummaries();
  void sendDueSummaries();
  void queueFor(const RemoteTarget& target, const RemoteEvent& event);
  void waitForEnding();
  // Each heartbeat target pinged at once and every period while the program runs: at its fail
  // address while a monitor is blind or a target fails. A ping is never queued or sent again.
  void scheduleHeartbeats();
  void ping(const QString& name);
  QString heartbeatReport(bool* wrong) const;
  void watchQueue();

  Journal& journal_;
  EngineWatch* engine_ = nullptr;
  ConsoleState* console_ = nullptr;
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
  // How each target's deliveries have gone, by name.
  std::map<QString, DeliveryHealth> health_;
  std::unique_ptr<TimerHandle> check_;
  std::unique_ptr<QueuedCall> tryNow_;
  std::unique_ptr<TimerHandle> summaryCheck_;
  std::map<QString, std::unique_ptr<TimerHandle>> heartbeats_;
  std::map<QString, std::unique_ptr<QueuedCall>> pings_;
  // While ending: what runs at the end, the deliveries it waits for and until when.
  std::function<void()> end_;
  std::set<QString> endingIds_;
  QDateTime endBy_;
  std::unique_ptr<TimerHandle> endWait_;
};

}  // namespace tidex
