#pragma once

// Writes a journal file as the monitors' journal writer leaves it (the shared schema, in WAL
// mode), so tests of what reads it do not depend on the writer.

#include <vector>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

#include "platform/journal_schema.h"

namespace tidex::testing {

using JournalRow = journal::Entry;

// Adds the rows, in this order, to the journal at path (created when missing); false when any
// of it failed.
inline bool SeedJournal(const QString& path, const std::vector<JournalRow>& rows) {
  const QString connection = QUuid::createUuid().toString();
  bool ok = true;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    ok = db.open();
    QSqlQuery q(db);
    ok = ok && q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
         q.exec(QLatin1String(journal::kCreateTable)) &&
         q.exec(QLatin1String(journal::kCreateIndex));
    for (const JournalRow& row : rows) {
      ok = ok && q.prepare(QStringLiteral(
                     "INSERT INTO journal (time, caption, kind, event, summary, before, after,"
                     " page_before, page_after) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
      for (const QString& value : {row.time, row.caption, row.kind, row.event, row.summary,
                                   row.before, row.after, row.pageBefore, row.pageAfter}) {
        q.addBindValue(value.isNull() ? QStringLiteral("") : value);  // null would be NULL
      }
      ok = ok && q.exec();
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(connection);
  return ok;
}

}  // namespace tidex::testing
