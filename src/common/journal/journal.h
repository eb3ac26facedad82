#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include <QString>

#include "common/journal/pending_notifications.h"
#include "common/remote/delivery_queue.h"
#include "platform/journal_store.h"

namespace tidex {

// The lines an entry shows beside its summary, each side LF-separated: as compared, and as the
// page showed them.
struct JournalLines {
  QString before{};
  QString after{};
  QString pageBefore{};
  QString pageAfter{};
};

// The journal of alerts and findings, owned by the console and reached through ConsoleState.
// Recording never fails and never waits: an entry the file does not take is held in memory
// and written on the next record or flush, oldest first.
class Journal final {
 public:
  Journal();
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  // What happened now in the window of this caption and kind (journal::kind): the event
  // (journal::event), a one-line summary and the lines that changed. Stamped with the desktop
  // clock and written with any entries held before it.
  void record(const QString& caption, const char* kind, const char* event, const QString& summary,
              const JournalLines& lines = {});
  // As record, unless the caption already has an entry of this event today.
  void recordOncePerDay(const QString& caption, const char* kind, const char* event,
                        const QString& summary);
  // Writes the held entries and pending notifications; true when no entry is left held.
  bool flush();
  // Before the program ends: writes what it can and closes the file, so that its write-ahead
  // log is folded in and no -wal or -shm file is left beside it.
  void close();
  std::size_t heldCount() const { return held_.size(); }
  // The entries of a day ("yyyy-MM-dd"), oldest first, those held included; the time of the
  // newest entry written (empty for none). Nothing when the file cannot be read.
  std::optional<std::vector<JournalEntry>> entriesOn(const QString& day);
  std::optional<QString> newestTime();
  // The notifications of findings not yet accepted, kept in the same file.
  PendingNotifications& pendingNotifications() { return pending_; }
  // The remote notifications not yet delivered, kept in the same file.
  DeliveryQueue& deliveryQueue() { return deliveries_; }

  // Runs for every entry recorded, as it is recorded (the remote notifications follow it).
  std::function<void(const JournalEntry&)> onRecorded;

  // Runs when the journal could not be written, once until it can be written again.
  std::function<void()> onUnwritable;

 private:
  JournalStore& store();

  std::unique_ptr<JournalStore> store_;  // opened on first use, in the application folder
  std::vector<JournalEntry> held_;
  PendingNotifications pending_{[this]() -> JournalStore& { return store(); }};
  DeliveryQueue deliveries_{[this]() -> JournalStore& { return store(); }};
  std::set<QString> daily_;  // caption, event and day of the once-a-day entries recorded
  bool reported_ = false;
};

}  // namespace tidex
