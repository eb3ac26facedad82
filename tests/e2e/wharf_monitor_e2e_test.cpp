#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>

#include "board_path.h"
#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {
const QString kConsoleCaption = ConsoleSession::consoleCaption();

// The journal's alert rows as another program reads them while Tidex runs: caption, summary,
// before and after.
QList<QStringList> alertRows(const QString& home) {
  QList<QStringList> rows;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "journal-reader");
    db.setDatabaseName(home + QStringLiteral("/Tidex-journal.db"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (db.open()) {
      QSqlQuery query(QStringLiteral("SELECT caption, summary, before, after FROM journal "
                                     "WHERE event = 'alert' ORDER BY id"),
                      db);
      while (query.next()) {
        rows << QStringList{query.value(0).toString(), query.value(1).toString(),
                            query.value(2).toString(), query.value(3).toString()};
      }
    }
  }
  QSqlDatabase::removeDatabase("journal-reader");
  return rows;
}
}  // namespace

TEST(ProgramEndToEnd, WharfMonitorTakesABaselineAndAlertsOnAMovedTime) {
  ConsoleSession session;
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  const SitesRunner& sites = session.sites;
  const AccessibilityBus& a11y = session.a11y;

  // The console's wharf field holds 1108 from the start. The query, then the search the
  // monitor submits on it: the baseline is taken.
  ASSERT_TRUE(session.openWharfMonitor()) << session.failure() << session.program.output().data();
  EXPECT_EQ(sites.requestLog().filter(kBoardPath).front(),
            "GET " + kBoardPath +
                "?QSP_ID=&QSP_ENAME=&QSP_PORT=1108&QSP_PAGID=&SP_CALL=&SEARCH=1&"
                "iPage=&OK=%B7j%B4M");
  ASSERT_TRUE(session.focus(kConsoleCaption));  // the monitor covers the console

  ASSERT_TRUE(sites.control("/_control/board/time?wharf=1108&vessel=YM%20HARMONY&time=23:45"));
  const auto moved = std::chrono::steady_clock::now();

  EXPECT_TRUE(
      waitUntil([&] { return session.display.focusedWindowTitle() == "1108"; }, 60s + 5s + 10s))
      << "no alert brought the monitor forward";
  EXPECT_LT(std::chrono::steady_clock::now() - moved, 60s + 5s + 5s);

  // The journal beside the settings file holds the alert with the old and the new time.
  QList<QStringList> rows;
  EXPECT_TRUE(waitUntil([&] { return !(rows = alertRows(session.home.path())).isEmpty(); }, 10s));
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0][0], "1108");
  EXPECT_EQ(rows[0][1], QStringLiteral("YM HARMONY　抵港時間 14:30 → 23:45"));
  EXPECT_TRUE(rows[0][2].contains("1430")) << rows[0][2].toStdString();
  EXPECT_TRUE(rows[0][3].contains("2345")) << rows[0][3].toStdString();

  // "變更紀錄" lists it, for a screen reader as for the eye.
  const QString changeLog = QStringLiteral("變更紀錄");
  ASSERT_TRUE(a11y.press(session.consoleControl("menu item", changeLog)));
  Accessible entry;
  EXPECT_TRUE(waitUntil(
      [&] {
        entry = a11y.find(a11y.find(a11y.window(changeLog), "tree", changeLog), "tree item",
                          QStringLiteral("YM HARMONY　抵港時間 14:30 → 23:45"));
        return entry.valid();
      },
      20s))
      << a11y.describe(a11y.window(changeLog)).toStdString();

  // "監看狀態" lists the monitor as alerting, in words a screen reader reads out.
  const QString monitorStatus = QStringLiteral("監看狀態");
  ASSERT_TRUE(a11y.press(session.consoleControl("menu item", monitorStatus)));
  EXPECT_TRUE(waitUntil(
      [&] {
        const Accessible list = a11y.find(a11y.window(monitorStatus), "tree", monitorStatus);
        return a11y.find(list, "tree item", "1108").valid() &&
               a11y.find(list, "tree item", QStringLiteral("警示中")).valid();
      },
      20s))
      << a11y.describe(a11y.window(monitorStatus)).toStdString();
}
