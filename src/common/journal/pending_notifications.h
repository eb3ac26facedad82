#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include <QDateTime>
#include <QString>

#include "platform/journal_store.h"

namespace tidex {

// A notification is not sent more often than this, by whichever sender.
inline constexpr std::chrono::seconds kNotificationMinimumInterval{60};

// The notifications of findings that the mail service has not accepted yet, one per
// registration number, kept in the journal file so that a later run of the program sends them.
// Memory is the authority: a change the file does not take is written on a later sync, and a
// file that cannot be read yet is read once it can.
class PendingNotifications final {
 public:
  explicit PendingNotifications(std::function<JournalStore&()> store);

  // Keeps the notification of a finding, replacing one of the same number.
  void hold(const PendingNotification& notification);
  // The mail service accepted it.
  void remove(const QString& number);
  std::optional<PendingNotification> find(const QString& number);
  // Oldest finding first.
  std::vector<PendingNotification> all();
  // Writes the changes the file has not taken; true when none is left.
  bool sync();

  // A sender's hold on the number: while the returned token lives no other sender gets it, and
  // nobody gets it again within kNotificationMinimumInterval of this. Null when refused.
  std::shared_ptr<const void> takeForSending(const QString& number);
  // True the first time in this run that the number's notification was refused by the service.
  bool firstRefusal(const QString& number);

 private:
  void load();

  std::function<JournalStore&()> store_;
  std::map<QString, PendingNotification> pending_;
  // Changes not yet in the file: the row to keep, or none for a row to remove.
  std::map<QString, std::optional<PendingNotification>> unwritten_;
  bool loaded_ = false;
  struct Sending {
    std::weak_ptr<const void> token;
    QDateTime started;
  };
  std::map<QString, Sending> sending_;
  std::set<QString> refused_;
};

}  // namespace tidex
