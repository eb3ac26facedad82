#include "platform/journal_reader.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex::journal {
namespace {

const QString kConnection = QStringLiteral("tidex-journal-reader");

// A LIKE pattern that finds the text anywhere, its own % and _ taken literally.
QString containing(QString text) {
  text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  text.replace(QLatin1Char('%'), QStringLiteral("\\%"));
  text.replace(QLatin1Char('_'), QStringLiteral("\\_"));
  return QLatin1Char('%') + text + QLatin1Char('%');
}

Reading failed(const QSqlError& error) {
  Reading reading;
  // SQLITE_BUSY, SQLITE_LOCKED
  const bool busy = error.nativeErrorCode() == QLatin1String("5") ||
                    error.nativeErrorCode() == QLatin1String("6");
  reading.state = busy ? Reading::State::Busy : Reading::State::Unreadable;
  reading.error = error.text();
  return reading;
}

// A column's name, or an empty text in its place when the file is of a version without it
// (read-only here: only the writer adds it).
QString columnOrEmpty(QSqlDatabase& db, const char* column) {
  QSqlQuery q(db);
  if (q.exec(QStringLiteral("PRAGMA table_info(journal)"))) {
    while (q.next()) {
      if (q.value(1).toString() == QLatin1String(column)) return QLatin1String(column);
    }
  }
  return QStringLiteral("''");
}

Reading query(QSqlDatabase& db, const Filter& filter, int limit) {
  Reading reading;
  if (!db.open()) return failed(db.lastError());
  QString sql = QStringLiteral(
                    "SELECT id, time, caption, kind, event, summary, before, after, %1, %2 "
                    "FROM journal WHERE 1")
                    .arg(columnOrEmpty(db, kPageColumns[0]), columnOrEmpty(db, kPageColumns[1]));
  if (!filter.caption.isEmpty()) sql += QStringLiteral(" AND caption LIKE ? ESCAPE '\\'");
  if (!filter.kind.isEmpty()) sql += QStringLiteral(" AND kind = ?");
  // Newest first along the time index; rows of the same second in the order written.
  sql += QStringLiteral(" ORDER BY time DESC, id DESC LIMIT ?");
  QSqlQuery q(db);
  q.setForwardOnly(true);
  if (!q.prepare(sql)) return failed(q.lastError());
  if (!filter.caption.isEmpty()) q.addBindValue(containing(filter.caption));
  if (!filter.kind.isEmpty()) q.addBindValue(filter.kind);
  q.addBindValue(limit);
  if (!q.exec()) return failed(q.lastError());
  while (q.next()) {
    reading.entries.push_back(Entry{
        q.value(1).toString(), q.value(2).toString(), q.value(3).toString(), q.value(4).toString(),
        q.value(5).toString(), q.value(6).toString(), q.value(7).toString(),
        q.value(0).toLongLong(), q.value(8).toString(), q.value(9).toString()});
  }
  if (q.lastError().isValid()) return failed(q.lastError());  // a damaged page part-way
  reading.state = Reading::State::Read;
  return reading;
}

}  // namespace

QString JournalPath() {
  return Desktop::current().applicationFolder() + QLatin1Char('/') + QLatin1String(kFileName);
}

Reading ReadJournal(const QString& path, const Filter& filter, int limit) {
  if (!QFileInfo(path).isFile()) return {};
  Reading reading;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
    if (!db.isValid()) {
      reading.state = Reading::State::Unreadable;
      reading.error = QStringLiteral("no SQLite driver");
    } else {
      db.setDatabaseName(path);
      db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=0"));
      reading = query(db, filter, limit);
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(kConnection);
  return reading;
}

}  // namespace tidex::journal
