#include "console_session.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include "console/form1.h"

namespace tidex::e2e {

using namespace std::chrono_literals;

ConsoleSession::ConsoleSession()
    : a11y(display.display()), program(home.path(), display.display()) {}

bool ConsoleSession::start() {
  if (!display.started() || !a11y.started() || !sites.started()) return false;
  sites.configure(home.path());
  if (!startAndShowConsole(program, home.path(), display.display())) return false;
  return waitUntil(
      [&] { return a11y.find(a11y.window(Form1::ConsoleCaption()), "push button").valid(); }, 30s);
}

bool ConsoleSession::pressConsoleButton(const QString& caption) const {
  return a11y.press(a11y.find(a11y.window(Form1::ConsoleCaption()), "push button", caption));
}

QStringList ConsoleSession::journalSummaries(const QString& event) const {
  QStringList summaries;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "session-journal");
    db.setDatabaseName(home.filePath(QStringLiteral("Tidex-journal.db")));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (db.open()) {
      QSqlQuery query(db);
      query.prepare(QStringLiteral("SELECT summary FROM journal WHERE event = ? ORDER BY id"));
      query.addBindValue(event);
      if (query.exec()) {
        while (query.next()) summaries << query.value(0).toString();
      }
    }
  }
  QSqlDatabase::removeDatabase("session-journal");
  return summaries;
}

}  // namespace tidex::e2e
