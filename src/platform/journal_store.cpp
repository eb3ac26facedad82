#include "platform/journal_store.h"

#include <atomic>

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "platform/journal_schema.h"

namespace tidex {
namespace {

// The columns the journal table has, as the file holds it.
QStringList columnsOf(QSqlQuery& query) {
  QStringList columns;
  if (!query.exec(QStringLiteral("PRAGMA table_info(journal)"))) return columns;
  while (query.next()) columns << query.value(1).toString();
  return columns;
}

// A file of an earlier version gets the columns added since; its rows keep their lines.
bool addMissingColumns(QSqlQuery& query) {
  const QStringList columns = columnsOf(query);
  for (const char* column : journal::kPageColumns) {
    if (columns.contains(QLatin1String(column))) continue;
    if (!query.exec(QString::fromUtf8(journal::kAddPageColumn).arg(QLatin1String(column)))) {
      return false;
    }
  }
  return true;
}

QString nextConnectionName() {
  static std::atomic<int> count{0};
  return QStringLiteral("tidex-journal-%1").arg(++count);
}

}  // namespace

JournalStore::JournalStore(QString path)
    : path_(std::move(path)), connection_(nextConnectionName()) {}

JournalStore::~JournalStore() {
  close();
  QSqlDatabase::removeDatabase(connection_);
}

bool JournalStore::open() {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  if (db.isOpen()) return true;
  if (!db.isValid()) db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
  // SQLite gives its -wal and -shm files the database's mode: the owner's alone, as the file
  // holds the messages and what the pages showed.
  if (QFile file(path_); !file.exists() && file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  }
  db.setDatabaseName(path_);
  db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=100"));
  if (!db.open()) return false;
  QSqlQuery query(db);
  // The first statements read the file: a file that is no database fails here.
  const bool ready = query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
                     query.exec(QStringLiteral("PRAGMA synchronous=NORMAL")) &&
                     query.exec(QString::fromUtf8(journal::kCreateTable)) &&
                     addMissingColumns(query) &&
                     query.exec(QString::fromUtf8(journal::kCreateIndex)) &&
                     query.exec(QString::fromUtf8(journal::kCreatePendingTable));
  if (ready) return true;
  query = QSqlQuery();
  db.close();
  return false;
}

void JournalStore::close() {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  if (db.isOpen()) db.close();
}

bool JournalStore::append(const std::vector<JournalEntry>& entries) {
  if (entries.empty()) return true;
  if (!open()) return false;
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  bool written = db.transaction();
  {
    QSqlQuery insert(db);
    written = written && insert.prepare(QStringLiteral(
                             "INSERT INTO journal (time, caption, kind, event, summary, before, "
                             "after, page_before, page_after) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const JournalEntry& e : entries) {
      if (!written) break;
      for (const QString* value : {&e.time, &e.caption, &e.kind, &e.event, &e.summary, &e.before,
                                   &e.after, &e.pageBefore, &e.pageAfter}) {
        // A null string would go in as NULL, which the columns refuse.
        insert.addBindValue(value->isNull() ? QStringLiteral("") : *value);
      }
      written = insert.exec();
    }
  }
  written = written && db.commit();
  if (!written) {
    db.rollback();
    // Opened again on the next call: the file may have been replaced or repaired meanwhile.
    close();
  }
  return written;
}

bool JournalStore::holdsOn(const QString& caption, const QString& event, const QString& day) {
  if (!open()) return false;
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  query.prepare(QStringLiteral(
      "SELECT 1 FROM journal WHERE caption = ? AND event = ? AND time >= ? AND time < ? LIMIT 1"));
  query.addBindValue(caption);
  query.addBindValue(event);
  query.addBindValue(day);
  query.addBindValue(day + QStringLiteral("~"));  // after every "yyyy-MM-dd HH:mm:ss" of the day
  return query.exec() && query.next();
}

std::optional<std::vector<JournalEntry>> JournalStore::entriesOn(const QString& day) {
  if (!open()) return std::nullopt;
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  query.prepare(QStringLiteral(
      "SELECT time, caption, kind, event, summary FROM journal WHERE time >= ? AND time < ? "
      "ORDER BY time, id"));
  query.addBindValue(day);
  query.addBindValue(day + QStringLiteral("~"));
  if (!query.exec()) return std::nullopt;
  std::vector<JournalEntry> entries;
  while (query.next()) {
    JournalEntry entry;
    entry.time = query.value(0).toString();
    entry.caption = query.value(1).toString();
    entry.kind = query.value(2).toString();
    entry.event = query.value(3).toString();
    entry.summary = query.value(4).toString();
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::optional<QString> JournalStore::newestTime() {
  if (!open()) return std::nullopt;
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  if (!query.exec(QStringLiteral("SELECT MAX(time) FROM journal"))) return std::nullopt;
  return query.next() ? query.value(0).toString() : QString();
}

bool JournalStore::keepPending(const PendingNotification& notification) {
  if (!open()) return false;
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  query.prepare(QStringLiteral(
      "INSERT OR REPLACE INTO pending_notification (number, vessel, found) VALUES (?, ?, ?)"));
  for (const QString* value : {&notification.number, &notification.vessel, &notification.found}) {
    query.addBindValue(value->isNull() ? QStringLiteral("") : *value);
  }
  if (query.exec()) return true;
  close();
  return false;
}

bool JournalStore::removePending(const QString& number) {
  if (!open()) return false;
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  query.prepare(QStringLiteral("DELETE FROM pending_notification WHERE number = ?"));
  query.addBindValue(number);
  if (query.exec()) return true;
  close();
  return false;
}

std::optional<std::vector<PendingNotification>> JournalStore::pending() {
  // Nothing can be pending without a file, and reading creates none.
  if (!QFileInfo(path_).exists()) return std::vector<PendingNotification>{};
  if (!open()) return std::nullopt;
  std::optional<std::vector<PendingNotification>> rows;
  {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (query.exec(QStringLiteral(
            "SELECT number, vessel, found FROM pending_notification ORDER BY found, number"))) {
      rows.emplace();
      while (query.next()) {
        rows->push_back(
            {query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
      }
      if (query.lastError().isValid()) rows.reset();
    }
  }
  // Read once at start: the connection is not kept open for the writes that may never come.
  close();
  return rows;
}

}  // namespace tidex

namespace tidex {

bool JournalStore::keepDelivery(const QueuedDelivery& delivery) {
  if (!open()) return false;
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  const bool written =
      query.exec(QString::fromUtf8(journal::kCreateDeliveryTable)) &&
      query.prepare(QStringLiteral("INSERT OR REPLACE INTO remote_delivery (id, target, subject, "
                                   "text, json, tries, next_try) VALUES (?, ?, ?, ?, ?, ?, ?)"));
  if (written) {
    for (const QString* value :
         {&delivery.id, &delivery.target, &delivery.subject, &delivery.text, &delivery.json}) {
      query.addBindValue(value->isNull() ? QStringLiteral("") : *value);
    }
    query.addBindValue(delivery.tries);
    query.addBindValue(delivery.nextTry);
    if (query.exec()) return true;
  }
  close();
  return false;
}

bool JournalStore::removeDelivery(const QString& id) {
  if (!open()) return false;
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  if (query.exec(QString::fromUtf8(journal::kCreateDeliveryTable)) &&
      query.prepare(QStringLiteral("DELETE FROM remote_delivery WHERE id = ?"))) {
    query.addBindValue(id);
    if (query.exec()) return true;
  }
  close();
  return false;
}

std::optional<std::vector<QueuedDelivery>> JournalStore::deliveries() {
  if (!QFileInfo(path_).exists()) return std::vector<QueuedDelivery>{};
  if (!open()) return std::nullopt;
  std::optional<std::vector<QueuedDelivery>> rows;
  {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (query.exec(QString::fromUtf8(journal::kCreateDeliveryTable)) &&
        query.exec(QStringLiteral("SELECT id, target, subject, text, json, tries, next_try FROM "
                                  "remote_delivery ORDER BY next_try, id"))) {
      rows.emplace();
      while (query.next()) {
        rows->push_back({query.value(0).toString(), query.value(1).toString(),
                         query.value(2).toString(), query.value(3).toString(),
                         query.value(4).toString(), query.value(5).toInt(),
                         query.value(6).toString()});
      }
      if (query.lastError().isValid()) rows.reset();
    }
  }
  return rows;
}

}  // namespace tidex
