#include "console_session.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "board_path.h"
#include "common/text/text_codec.h"
#include "console/console_window.h"

namespace tidex::e2e {

using namespace std::chrono_literals;

ConsoleSession::ConsoleSession(Manager manager, Home homeFolder)
    : a11y(display.display()), program(home.path(), display.display()), home_(homeFolder) {
  if (manager == Manager::Openbox) windowManager.emplace(display.display());
}

QString ConsoleSession::consoleCaption() { return ConsoleWindow::ConsoleCaption(); }

bool ConsoleSession::fail(std::string what) {
  failure_ = std::move(what);
  return false;
}

bool ConsoleSession::settingsWritten() const {
  return readFile(home.filePath(QStringLiteral("Tidex.ini"))).contains("004=0");
}

void ConsoleSession::launch(const ProgramClock& clock) {
  if (!clock.moment.isEmpty()) {
    program.startAt(clock.moment);
  } else if (clock.rate > 1) {
    program.startFaster(clock.rate);
  } else {
    program.start();
  }
}

bool ConsoleSession::startHidden(ProgramClock clock) {
  if (!display.started()) return fail("Xvfb did not start");
  if (windowManager && !windowManager->start()) return fail("openbox did not start");
  if (!a11y.started()) return fail("no accessibility bus (dbus-daemon, at-spi2-core)");
  if (!sites.started()) return fail("tidex-sites did not start");
  if (home_ == Home::Sites) sites.configure(home.path());
  launch(clock);
  if (!waitUntil([&] { return settingsWritten(); }, 60s)) {
    return fail("the program did not start: no settings file within a minute");
  }
  return true;
}

bool ConsoleSession::start(ProgramClock clock) {
  return startHidden(std::move(clock)) && showConsole();
}

bool ConsoleSession::showConsole() {
  if (!startSecondCopy()) return fail("a second start did not hand over to the running program");
  if (!waitUntil(
          [&] {
            return !window(consoleCaption()).isEmpty() &&
                   a11y.find(console(), "push button").valid();
          },
          30s)) {
    return fail("a second start did not bring the console forward");
  }
  return true;
}

bool ConsoleSession::startSecondCopy() const {
  ProgramRunner second(home.path(), display.display());
  second.start();
  return second.waitForExit(10s);
}

bool ConsoleSession::endFromFileMenu() {
  Accessible endProgram;
  if (!waitUntil(
          [&] {
            return (endProgram = consoleControl("menu item", QStringLiteral("結束程式"))).valid();
          },
          20s)) {
    return fail("no menu item 結束程式: " + a11y.describe(console()).toStdString());
  }
  if (!a11y.press(endProgram)) return fail("結束程式 could not be chosen");
  Accessible yes;
  if (!waitUntil(
          [&] {
            yes = a11y.findWhere(
                a11y.window(QStringLiteral("訊息")), "push button",
                [](const QString& name) { return name == u"Yes" || name.startsWith(u'是'); });
            return yes.valid();
          },
          10s)) {
    return fail("no question before ending");
  }
  return a11y.press(yes) || fail("the question could not be answered");
}

void ConsoleSession::stop() { program.kill(); }

bool ConsoleSession::restart(ProgramClock clock) {
  stop();
  launch(clock);
  if (!waitUntil([&] { return program.running() && settingsWritten(); }, 60s)) {
    return fail("the program did not start again");
  }
  return true;
}

Accessible ConsoleSession::console() const { return a11y.window(consoleCaption()); }

Accessible ConsoleSession::consoleControl(const QString& role, const QString& name) const {
  return a11y.find(console(), role, name);
}

bool ConsoleSession::pressConsoleButton(const QString& caption) const {
  return a11y.press(consoleControl("push button", caption));
}

bool ConsoleSession::openWharfMonitor(const QString& wharf) {
  const auto boardRequests = [&] { return sites.requestLog().filter(kBoardPath).size(); };
  const qsizetype before = boardRequests();
  if (!pressConsoleButton(QStringLiteral("碼頭"))) return fail("the console has no 碼頭 button");
  if (!waitUntil([&] { return !window(wharf).isEmpty() && boardRequests() >= before + 2; }, 30s)) {
    return fail("no monitor " + wharf.toStdString() + " with a baseline within 30 s");
  }
  return true;
}

bool ConsoleSession::clickConsole(const QString& role, const QString& name) const {
  const Accessible control = consoleControl(role, name);
  if (!control.valid()) return false;
  clickAt(display.display(), a11y.extents(control).center());
  return true;
}

QString ConsoleSession::window(const QString& title) const {
  return display.visibleWindows(title).value(0);
}

bool ConsoleSession::focus(const QString& title) const {
  const QString id = window(title);
  if (id.isEmpty()) return false;
  if (windowManager) {
    display.activate(id);
  } else {
    display.focus(id);
  }
  return waitUntil([&] { return display.focusedWindowTitle() == title; }, 10s);
}

QStringList ConsoleSession::journalSummaries(const QString& event) const {
  QStringList summaries;
  for (const QStringList& row : journalRows(event, {QStringLiteral("summary")}))
    summaries << row[0];
  return summaries;
}

QList<QStringList> ConsoleSession::journalRows(const QString& event,
                                               const QStringList& columns) const {
  QList<QStringList> rows;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "session-journal");
    db.setDatabaseName(home.filePath(QStringLiteral("Tidex-journal.db")));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (db.open()) {
      QSqlQuery query(db);
      query.prepare(QStringLiteral("SELECT %1 FROM journal WHERE event = ? ORDER BY id")
                        .arg(columns.join(QStringLiteral(", "))));
      query.addBindValue(event);
      if (query.exec()) {
        while (query.next()) {
          QStringList row;
          for (int i = 0; i < columns.size(); ++i) row << query.value(i).toString();
          rows << row;
        }
      }
    }
  }
  QSqlDatabase::removeDatabase("session-journal");
  return rows;
}

bool WriteKnownAccount(const QString& home) {
  QFile ini(home + QStringLiteral("/Tidex.ini"));
  if (!ini.open(QIODevice::WriteOnly)) return false;
  return ini.write("[setup]\r\n004=0\r\n001=" + EncodeText(QStringLiteral("TIDEX")).toLatin1() +
                   "\r\n002=" + EncodeText(QStringLiteral("PASS")).toLatin1() + "\r\n") > 0;
}

}  // namespace tidex::e2e
