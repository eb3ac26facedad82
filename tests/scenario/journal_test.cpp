#include <gtest/gtest.h>

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "test_printers.h"

#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/journal_reader.h"
#include "platform/journal_schema.h"
#include "scenario/journal_rows.h"
#include "scenario/scenario_helpers.h"
#include "sites/board_service.h"
#include "sites/pilot_roster.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

const QString kMoved = QStringLiteral("YM HARMONY　抵港時間 14:30 → 14:40");
const QString kUnwritable = QStringLiteral("變更紀錄無法寫入，稍後再試！ ");

int boxesSaying(SimDesktop& desk, const QString& prefix) {
  int count = 0;
  for (const SimBox& box : desk.boxes()) count += box.texts.value(0).startsWith(prefix);
  return count;
}

}  // namespace

TEST(Journal,
     AnAlertWritesOneRowWithTheLinesThatChangedAsComparedAndAsShownAndAPilotSwapWritesNothing) {
  SimDesktop desk;
  BoardMonitor& monitor = watchWharf(desk);

  desk.sites().board().assignPilot("1108", "YM HARMONY", "0037");  // a known pilot: no alert
  desk.advance(61s + 5s);
  EXPECT_FALSE(monitor.isAlerting());
  EXPECT_TRUE(journalRows(desk).empty());

  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "14:40"));
  desk.advance(61s + 5s);
  ASSERT_TRUE(monitor.isAlerting());
  desk.advance(3min);  // the alert goes on: still one row

  const auto rows = journalRows(desk);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_TRUE(rows[0].time.startsWith("2026-12-08 10:02:")) << rows[0].time.toStdString();
  EXPECT_EQ(rows[0].caption, "1108");
  EXPECT_EQ(rows[0].kind, "wharf");
  EXPECT_EQ(rows[0].event, "alert");
  EXPECT_EQ(rows[0].summary, kMoved);  // the swapped pilot is no part of what changed
  // One line each side: the vessel's board line before and after, as compared.
  EXPECT_EQ(rows[0].before.count('\n'), 0);
  EXPECT_EQ(rows[0].after.count('\n'), 0);
  EXPECT_TRUE(rows[0].before.contains("1430")) << rows[0].before.toStdString();
  EXPECT_TRUE(rows[0].after.contains("1440")) << rows[0].after.toStdString();
  // For the user: the row as the board showed it, each cell under its heading.
  EXPECT_TRUE(rows[0].pageBefore.startsWith("船名：YM HARMONY\n碼頭：1108\n"))
      << rows[0].pageBefore.toStdString();
  EXPECT_TRUE(rows[0].pageBefore.contains("\n抵港時間：14:30\n"))
      << rows[0].pageBefore.toStdString();
  EXPECT_TRUE(rows[0].pageAfter.contains("\n抵港時間：14:40\n")) << rows[0].pageAfter.toStdString();
  EXPECT_EQ(desk.notifications(), (std::vector<SimNotification>{{"1108", kMoved, false}}));
}

TEST(Journal, AnAlertNotifiesTheDesktopOnlyWithShowNotificationAndTheTrayIcon) {
  struct Case {
    const char* what;
    int showNotification;
    int silent;
    bool trayClosed;
    std::vector<SimNotification> expected;
  };
  const Case cases[] = {
      {"show", 1, 0, false, {{"1108", kMoved, false}}},
      {"show, silent", 1, 1, false, {{"1108", kMoved, true}}},
      {"not shown", 0, 0, false, {}},
      {"tray icon closed", 1, 0, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimDesktop desk;
    BoardMonitor& monitor = watchWharf(desk);
    ConsoleWindow& console = *findWindow<ConsoleWindow>(desk, ConsoleWindow::ConsoleCaption());
    console.showNotificationCheck.setValue(c.showNotification);
    console.silentModeCheck.setValue(c.silent);
    if (c.trayClosed) {
      desk.trayRightClick();
      desk.clickMenu(console.closeMenu);
    }
    ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "14:40"));
    desk.advance(61s + 5s);
    EXPECT_TRUE(monitor.isAlerting());
    EXPECT_EQ(desk.notifications(), c.expected);
  }
}

TEST(Journal, TheAlertingWindowShowsWhatChangedBeneathItsPageUntilStopped) {
  SimDesktop desk;
  BoardMonitor& monitor = watchWharf(desk);
  const Geometry client = monitor.geometry();
  EXPECT_FALSE(monitor.changeLine.Visible());
  EXPECT_EQ(monitor.pageFrame.geometry().height, client.height);

  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "14:40"));
  desk.advance(61s + 5s);
  EXPECT_TRUE(monitor.changeLine.Visible());
  EXPECT_EQ(monitor.changeLine.Caption(), kMoved);
  EXPECT_EQ(monitor.Caption(), "1108");
  // The page keeps the rest of the client area, also after the user resizes the window.
  desk.resize(monitor, 800, 400);
  const Geometry page = monitor.pageFrame.geometry();
  const Geometry line = monitor.changeLine.geometry();
  EXPECT_EQ(page.top + page.height, line.top);
  EXPECT_EQ(line.top + line.height, monitor.geometry().height);
  EXPECT_EQ(line.width, monitor.geometry().width);
  EXPECT_GT(line.height, 0);

  desk.clickMenu(monitor.stopBeepMenu);
  EXPECT_FALSE(monitor.changeLine.Visible());
  EXPECT_EQ(monitor.pageFrame.geometry().height, monitor.geometry().height);
  EXPECT_EQ(monitor.pageBrowser.geometry().height, monitor.geometry().height);
}

TEST(Journal, AFindingWritesOneRowAndADayOfNoDataAnswersOne) {
  SimDesktop desk{"2026-12-08 23:40:00"};
  const QString number = "01VABC";
  ConsoleWindow& console = startConsole(desk);
  desk.type(console.accountField, "TIDEX");
  desk.type(console.passwordField, "PASS");
  typeAndClick(desk, console.registrationField, number, console.registrationButton);
  RegistrationMonitor& monitor = windowCaptioned<RegistrationMonitor>(desk, number);

  desk.advance(30min);  // no data, asked every five minutes, past midnight
  auto rows = journalRows(desk, number);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[0].time.startsWith("2026-12-08 23:40:")) << rows[0].time.toStdString();
  EXPECT_TRUE(rows[1].time.startsWith("2026-12-09 00:0")) << rows[1].time.toStdString();
  for (const JournalEntry& row : rows) {
    EXPECT_EQ(row.kind, "registration");
    EXPECT_EQ(row.event, "no-data");
  }

  desk.sites().imct().setFinding(number, {" YM HARMONY ", 12, 3});
  desk.advance(301s + 60s);
  ASSERT_TRUE(monitor.isAlerting());
  rows = journalRows(desk, number);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2].event, "found");
  EXPECT_EQ(rows[2].summary, "實櫃數 12　空櫃數 3　YM HARMONY");
  EXPECT_EQ(rows[2].pageAfter, "船名 YM HARMONY 船隻類別 貨櫃輪\n實櫃數 12\n空櫃數 3");
  EXPECT_EQ(rows[3].event, "notification");  // the notification form, sent once
  EXPECT_EQ(rows[3].summary, "01VABC YM HARMONY");
  EXPECT_EQ(desk.notifications(),
            (std::vector<SimNotification>{{number, "實櫃數 12　空櫃數 3　YM HARMONY", false}}));
}

// As root a read-only folder does not stop a write: a directory where the journal file goes
// makes it unwritable for anyone.
TEST(Journal, AnUnwritableJournalKeepsTheProgramWatchingAndItsRowsAreWrittenLater) {
  SimDesktop desk;
  ASSERT_TRUE(QDir().mkpath(journalPath(desk)));
  BoardMonitor& wharf = watchWharf(desk);
  ConsoleWindow& console = *findWindow<ConsoleWindow>(desk, ConsoleWindow::ConsoleCaption());
  console.silentModeCheck.setValue(1);  // silent: the notification says so
  typeAndClick(desk, console.vesselField, "YM HARMONY", console.vesselButton);
  desk.advance(2s);
  BoardMonitor& vessel = windowCaptioned<BoardMonitor>(desk, "YM HARMONY");

  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "14:40"));
  desk.advance(61s + 5s);
  // Both monitors alert as ever; the console says once that the journal is not written.
  EXPECT_TRUE(wharf.isAlerting());
  EXPECT_TRUE(vessel.isAlerting());
  EXPECT_EQ(wharf.changeLine.Caption(), kMoved);
  EXPECT_EQ(boxesSaying(desk, kUnwritable), 1);
  EXPECT_EQ(console.journal().heldCount(), 2u);
  EXPECT_EQ(desk.notifications().size(), 2u);
  EXPECT_TRUE(desk.notifications().front().silent);
  desk.advance(60s);
  EXPECT_EQ(boxesSaying(desk, kUnwritable), 1) << "said once, not on every retry";
  EXPECT_TRUE(desk.openBoxes().empty()) << "the box closes itself";

  ASSERT_TRUE(QDir(journalPath(desk)).removeRecursively());
  desk.advance(30s);  // the console's retry
  const auto rows = journalRows(desk);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(console.journal().heldCount(), 0u);
  // Written in the order they happened, with the time they happened.
  EXPECT_EQ(rows[0].caption, "1108");
  EXPECT_EQ(rows[0].summary, kMoved);
  EXPECT_EQ(rows[1].caption, "YM HARMONY");
  EXPECT_EQ(rows[1].kind, "vessel");
  EXPECT_TRUE(rows[1].time.startsWith("2026-12-08 10:01:")) << rows[1].time.toStdString();
}

// However the program ends, what the journal holds is written and the file is closed: its
// write-ahead log folded in, no -wal or -shm file left beside it.
TEST(Journal, EndingTheProgramWritesWhatIsHeldAndLeavesNoWriteAheadLog) {
  enum class Way { Gesture, FileMenu, SessionEnd, Terminate };
  for (Way way : {Way::Gesture, Way::FileMenu, Way::SessionEnd, Way::Terminate}) {
    SCOPED_TRACE(static_cast<int>(way));
    SimDesktop desk;
    ASSERT_TRUE(QDir().mkpath(journalPath(desk)));  // unwritable for now
    watchWharf(desk);
    ConsoleWindow& console = *findWindow<ConsoleWindow>(desk, ConsoleWindow::ConsoleCaption());
    ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "14:40"));
    desk.advance(61s + 5s);
    ASSERT_EQ(console.journal().heldCount(), 1u);
    desk.advance(9s);  // the box that says so closes itself
    ASSERT_TRUE(QDir(journalPath(desk)).removeRecursively());

    switch (way) {
      case Way::Gesture:
        desk.mouseDown(console.exitLabel, ModifierKeys::Ctrl | ModifierKeys::Alt);
        break;
      case Way::FileMenu:
        desk.trayDoubleClick();
        desk.clickMenu(console.endProgramMenu);
        desk.answer(BoxResult::Yes);
        break;
      case Way::SessionEnd:
        desk.endSession();
        break;
      case Way::Terminate:
        desk.terminate();
        break;
    }
    EXPECT_TRUE(desk.ended());
    // Looked at before reading: a reader of the file may leave the log files of its own.
    EXPECT_FALSE(QFile::exists(journalPath(desk) + "-wal"));
    EXPECT_FALSE(QFile::exists(journalPath(desk) + "-shm"));
    EXPECT_EQ(journalRowsOf(desk, journal::event::kAlert).size(), 1u);
  }
}

// A journal written by an earlier version (without the page's own lines) is read as it is,
// and takes the new entries beside its old ones.
TEST(Journal, AJournalOfAnEarlierVersionKeepsItsEntriesAndTakesNewOnes) {
  SimDesktop desk;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "earlier version");
    db.setDatabaseName(journalPath(desk));
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    ASSERT_TRUE(
        q.exec("CREATE TABLE journal (id INTEGER PRIMARY KEY AUTOINCREMENT,"
               " time TEXT NOT NULL, caption TEXT NOT NULL, kind TEXT NOT NULL,"
               " event TEXT NOT NULL, summary TEXT NOT NULL,"
               " before TEXT NOT NULL DEFAULT '', after TEXT NOT NULL DEFAULT '')"));
    ASSERT_TRUE(
        q.exec("INSERT INTO journal (time, caption, kind, event, summary, before, after)"
               " VALUES ('2026-12-07 22:00:00', '1108', 'wharf', 'alert', 'old', 'a', 'b')"));
    db.close();
  }
  QSqlDatabase::removeDatabase("earlier version");
  const journal::Reading old = journal::ReadJournal(journalPath(desk), {});
  ASSERT_EQ(old.state, journal::Reading::State::Read) << old.error.toStdString();
  ASSERT_EQ(old.entries.size(), 1u);
  EXPECT_EQ(old.entries[0].after, "b");

  BoardMonitor& monitor = watchWharf(desk);
  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "14:40"));
  desk.advance(61s + 5s);
  ASSERT_TRUE(monitor.isAlerting());
  const auto rows = journalRows(desk);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].summary, "old");
  EXPECT_EQ(rows[0].pageAfter, "");
  EXPECT_EQ(rows[1].summary, kMoved);
  EXPECT_TRUE(rows[1].pageAfter.contains("抵港時間：14:40")) << rows[1].pageAfter.toStdString();
}
