#pragma once

#include <QString>

// The journal of what changed: one SQLite file beside Tidex.ini, one row per event.
// Written through the journal writer, read by the change-log window.
namespace tidex::journal {

inline constexpr auto kFileName = "Tidex-journal.db";

// time:    "yyyy-MM-dd HH:mm:ss", the desktop clock's local time when it happened
// caption: the window's caption then; kind: one of the kinds below
// event:   one of the events below
// summary: one line for lists ("YM HARMONY　抵港時間 14:30 → 14:40", the counts line, …)
// before, after: the lines that changed (LF-separated) as compared, empty when nothing was
//          compared
// page_before, page_after: the same lines as the page showed them (a board's rows with their
//          headings, a finding's answer); files written before these columns lack them
inline constexpr auto kCreateTable =
    "CREATE TABLE IF NOT EXISTS journal ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " time TEXT NOT NULL,"
    " caption TEXT NOT NULL,"
    " kind TEXT NOT NULL,"
    " event TEXT NOT NULL,"
    " summary TEXT NOT NULL,"
    " before TEXT NOT NULL DEFAULT '',"
    " after TEXT NOT NULL DEFAULT '',"
    " page_before TEXT NOT NULL DEFAULT '',"
    " page_after TEXT NOT NULL DEFAULT '')";
// Brings a file of an earlier version up to the table above, a column at a time.
inline constexpr const char* kPageColumns[] = {"page_before", "page_after"};
inline constexpr auto kAddPageColumn = "ALTER TABLE journal ADD COLUMN %1 TEXT NOT NULL DEFAULT ''";
inline constexpr auto kCreateIndex = "CREATE INDEX IF NOT EXISTS journal_time ON journal (time)";

// The notifications of findings that the mail service has not accepted yet, one row per
// registration number; a row goes when the service accepts it.
// number: the registration number; vessel: as the IMCT answer gave it, blanks included
// found:  "yyyy-MM-dd HH:mm:ss", when the counts appeared
inline constexpr auto kCreatePendingTable =
    "CREATE TABLE IF NOT EXISTS pending_notification ("
    " number TEXT PRIMARY KEY,"
    " vessel TEXT NOT NULL,"
    " found TEXT NOT NULL)";

// The remote notifications not yet delivered, one row per message and target; a row goes when
// the target took it. Made with the first such message: a journal without targets has none.
// id: the event's id and the target's name, the same on every try; target: its name in Tidex.ini
// json: the webhook's body; tries: failed so far; next_try: "yyyy-MM-dd HH:mm:ss"
inline constexpr auto kCreateDeliveryTable =
    "CREATE TABLE IF NOT EXISTS remote_delivery ("
    " id TEXT PRIMARY KEY,"
    " target TEXT NOT NULL,"
    " subject TEXT NOT NULL,"
    " text TEXT NOT NULL,"
    " json TEXT NOT NULL,"
    " tries INTEGER NOT NULL,"
    " next_try TEXT NOT NULL)";

// The journal file in the application folder.
QString JournalPath();

// One row of the journal; id is 0 for a row not yet written.
struct Entry {
  QString time;
  QString caption;
  QString kind;
  QString event;
  QString summary;
  QString before;
  QString after;
  qint64 id = 0;
  QString pageBefore{};
  QString pageAfter{};
  bool operator==(const Entry&) const = default;
};

// A finding's notification still to be accepted by the mail service.
struct PendingNotification {
  QString number;
  QString vessel;
  QString found;
  bool operator==(const PendingNotification&) const = default;
};

// A remote notification waiting for its target.
struct QueuedDelivery {
  QString id;
  QString target;
  QString subject;
  QString text;
  QString json;
  int tries = 0;
  QString nextTry;
  bool operator==(const QueuedDelivery&) const = default;
};

namespace kind {
inline constexpr auto kWharf = "wharf";
inline constexpr auto kVessel = "vessel";
inline constexpr auto kUrl = "url";
inline constexpr auto kRegistration = "registration";
inline constexpr auto kNotifyTarget = "notify";  // a remote notification target
}  // namespace kind

namespace event {
inline constexpr auto kAlert = "alert";                // a pilot-board monitor's alert
inline constexpr auto kFound = "found";                // a registration number found
inline constexpr auto kNoData = "no-data";             // no data for a number (once a day)
inline constexpr auto kNotification = "notification";  // the mail service accepted the form
inline constexpr auto kNotificationPending = "notification-pending";  // not accepted: sent again
inline constexpr auto kLoginFailure = "login-failure";                // the IMCT login refused
inline constexpr auto kBlind = "blind";                     // a monitor can no longer read its page
inline constexpr auto kReadsAgain = "reads-again";          // and reads it again
inline constexpr auto kMoved = "moved";                     // the board answers at another address
inline constexpr auto kTargetUnusable = "target-unusable";  // a notification target not used
inline constexpr auto kTargetFailing = "target-failing";    // one that has failed for a while
inline constexpr auto kTargetDelivers = "target-delivers";  // and delivers again
inline constexpr auto kUndelivered = "undelivered";         // a message given up, its text kept
}  // namespace event

}  // namespace tidex::journal
