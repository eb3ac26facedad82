#pragma once

// The journal as another program reads it while Tidex runs, and a wharf monitor to fill it.

#include <vector>

#include <QSqlDatabase>
#include <QSqlQuery>

#include "monitors/pilotboard/board_monitor.h"
#include "platform/journal_schema.h"
#include "platform/journal_store.h"
#include "scenario/scenario_helpers.h"
#include "sites/pilot_roster.h"

namespace tidex::scenario {

inline QString journalPath(SimDesktop& desk) {
  return desk.applicationFolder() + QLatin1Char('/') + QString::fromUtf8(journal::kFileName);
}

// The journal as another program reads it, oldest first; rows of other captions left out
// when a caption is given.
inline std::vector<JournalEntry> journalRows(SimDesktop& desk, const QString& caption = {}) {
  std::vector<JournalEntry> rows;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "journal-reader");
    db.setDatabaseName(journalPath(desk));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (db.open()) {
      QSqlQuery query(QStringLiteral("SELECT time, caption, kind, event, summary, before, after, "
                                     "page_before, page_after FROM journal ORDER BY id"),
                      db);
      while (query.next()) {
        JournalEntry row;
        for (int i = 0;
             QString * field : {&row.time, &row.caption, &row.kind, &row.event, &row.summary,
                                &row.before, &row.after, &row.pageBefore, &row.pageAfter}) {
          *field = query.value(i++).toString();
        }
        if (caption.isEmpty() || row.caption == caption) rows.push_back(row);
      }
    }
  }
  QSqlDatabase::removeDatabase("journal-reader");
  return rows;
}

// The console with the known pilots and a wharf monitor on 1108 holding its baseline.
inline BoardMonitor& watchWharf(SimDesktop& desk) {
  saveKnownPilots();
  ConsoleWindow& console = startConsole(desk);
  typeAndClick(desk, console.wharfField, "1108", console.wharfButton);
  desk.advance(std::chrono::seconds(2));
  return windowCaptioned<BoardMonitor>(desk, "1108");
}

// The rows of one event, oldest first.
inline std::vector<JournalEntry> journalRowsOf(SimDesktop& desk, const char* event) {
  std::vector<JournalEntry> rows;
  for (JournalEntry& row : journalRows(desk)) {
    if (row.event == QLatin1String(event)) rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace tidex::scenario
