#pragma once

#include <optional>
#include <vector>

#include <QString>

#include "platform/journal_schema.h"

namespace tidex {

using JournalEntry = journal::Entry;
using PendingNotification = journal::PendingNotification;
using QueuedDelivery = journal::QueuedDelivery;

// The journal file: opened (and created) on first use, in write-ahead mode so that a reader
// never blocks the writer. A file that cannot be opened or written is tried again on the next
// call; nothing here waits longer than a short busy timeout.
class JournalStore final {
 public:
  explicit JournalStore(QString path);
  ~JournalStore();
  JournalStore(const JournalStore&) = delete;
  JournalStore& operator=(const JournalStore&) = delete;

  // Writes the entries in one transaction, all or none; false when they could not be written.
  bool append(const std::vector<JournalEntry>& entries);
  // Whether the journal holds an entry of this caption and event on the day ("yyyy-MM-dd");
  // false also when it cannot be read.
  bool holdsOn(const QString& caption, const QString& event, const QString& day);
  // The entries of the day ("yyyy-MM-dd"), oldest first, and the time of the newest entry of
  // all (empty for none); nothing when the file cannot be read.
  std::optional<std::vector<JournalEntry>> entriesOn(const QString& day);
  std::optional<QString> newestTime();

  // The pending notifications: one kept (replacing the row of its number), one removed, and
  // all of them, oldest finding first (nothing when the file cannot be read; none without a
  // file, which reading does not create).
  bool keepPending(const PendingNotification& notification);
  bool removePending(const QString& number);
  std::optional<std::vector<PendingNotification>> pending();

  // The remote notifications waiting for their targets, in the same manner.
  bool keepDelivery(const QueuedDelivery& delivery);
  bool removeDelivery(const QString& id);
  std::optional<std::vector<QueuedDelivery>> deliveries();

 private:
  bool open();
  void close();

  QString path_;
  QString connection_;
};

}  // namespace tidex
