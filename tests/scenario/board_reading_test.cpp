#include <gtest/gtest.h>

#include "board_path.h"
#include "console/monitor_status_window.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "scenario/journal_rows.h"
#include "sites/board_service.h"
#include "sites/port_sites.h"
#include "sites/service_faults.h"
#include "test_printers.h"

// What a board monitor takes for the board, and what it says when it cannot read it.

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;
using sites::Fault;
using sites::Service;

namespace {

BoardMonitor& watchVessel(SimDesktop& desk, const QString& vessel) {
  saveKnownPilots();
  ConsoleWindow& console = startConsole(desk);
  typeAndClick(desk, console.vesselField, vessel, console.vesselButton);
  desk.advance(2s);
  return windowCaptioned<BoardMonitor>(desk, vessel);
}

BoardMonitor& watchAddress(SimDesktop& desk, const QString& address) {
  ConsoleWindow& console = startConsole(desk);
  typeAndClick(desk, console.urlField, address, console.urlButton);
  return windowCaptioned<BoardMonitor>(desk, address);
}

bool hasBaseline(const BoardMonitor& monitor) { return monitor.hasBaseline(); }
bool isAlerting(const BoardMonitor& monitor) { return monitor.isAlerting(); }

}  // namespace

// Vessel names with 500 or 501 in them are common in a port; a call may be marked 取消.
TEST(BoardReading, ABoardListingA501VesselAndACancelledCallIsStillWatched) {
  struct Case {
    const char* what;
    bool vesselMonitor;
    QString movedVessel;
  };
  for (const Case& c : {Case{"wharf monitor", false, "YM HARMONY"},
                        Case{"vessel monitor", true, "MSC ARIES 501"}}) {
    SCOPED_TRACE(c.what);
    SimPortDesktop desk;
    auto& board = desk.sites().board();
    board.renameVessel("1108", "WAN HAI 316", "MSC ARIES 501");
    board.setStatus("1108", "EVER LAUREL", "取消");
    BoardMonitor& monitor = c.vesselMonitor ? watchVessel(desk, "MSC ARIES 501") : watchWharf(desk);
    ASSERT_TRUE(hasBaseline(monitor));
    desk.advance(2min);
    EXPECT_FALSE(isAlerting(monitor));

    ASSERT_TRUE(board.setBerthTime("1108", c.movedVessel, "23:45"));
    desk.advance(61s + 5s);
    EXPECT_TRUE(isAlerting(monitor));
    EXPECT_EQ(journalRowsOf(desk, journal::event::kAlert).size(), 1u);
  }
}

// The board's server sends the browser to another host, before the first page or later.
TEST(BoardReading, ABoardThatMovedIsWatchedWhereItNowAnswersAndSaidOnce) {
  for (bool movedBeforeOpening : {true, false}) {
    SCOPED_TRACE(movedBeforeOpening ? "moved before opening" : "moved while watched");
    SimPortDesktop desk;
    if (movedBeforeOpening) desk.sites().setFault(Service::Board, Fault::Moved);
    BoardMonitor& monitor = watchWharf(desk);
    desk.sites().setFault(Service::Board, Fault::Moved);
    desk.advance(3min);
    EXPECT_TRUE(hasBaseline(monitor));
    EXPECT_FALSE(isAlerting(monitor)) << "the same board at its new address is no change";
    const auto moved = journalRowsOf(desk, journal::event::kMoved);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].summary, "看板已移至 http://localhost:8080");
    EXPECT_EQ(monitor.changeLine.Caption(), moved[0].summary);

    ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
    desk.advance(61s + 5s);
    EXPECT_TRUE(isAlerting(monitor));
    EXPECT_EQ(monitor.changeLine.Caption(), "YM HARMONY　抵港時間 14:30 → 23:45");
  }
}

// Before the board's form was ever shown, its server sends the browser to another site's
// sign-in page: nothing is taken for the board there and no search goes there; the board back
// is the baseline, no change.
TEST(BoardReading, AnotherSiteBeforeTheBoardWasEverShownIsNeitherBaselineNorSearched) {
  SimPortDesktop desk;
  desk.sites().setFault(Service::Board, Fault::RedirectAway);
  BoardMonitor& monitor = watchWharf(desk);
  desk.advance(3min);
  const QStringList away = desk.sites().requestLog().filter(sites::kLandingPath);
  ASSERT_FALSE(away.isEmpty()) << "the browser was never sent away";
  EXPECT_EQ(away.filter("?").size(), 0) << "a search sent there: " << away.join(' ').toStdString();
  EXPECT_FALSE(hasBaseline(monitor));

  desk.sites().setFault(Service::Board, Fault::None);
  desk.advance(61s);
  EXPECT_TRUE(hasBaseline(monitor));
  desk.advance(2min);
  EXPECT_FALSE(isAlerting(monitor)) << "the board back is no change";
  EXPECT_TRUE(journalRowsOf(desk, journal::event::kAlert).empty());
}

// A page whose renderer died is no page: no empty baseline, no false alert.
TEST(BoardReading, AUrlMonitorThroughADeadRendererNeitherAlertsNorTakesAnEmptyBaseline) {
  const QString address = "http://127.0.0.1:8080" + kBoardPath +
                          "?QSP_ID=&QSP_ENAME=&QSP_PORT=1108&QSP_PAGID=&SP_CALL=&"
                          "SEARCH=1&iPage=&OK=%B7j%B4M";
  for (bool duringFirstPage : {true, false}) {
    SCOPED_TRACE(duringFirstPage ? "renderers die on the first page" : "on a reload");
    SimPortDesktop desk;
    BoardMonitor& monitor = watchAddress(desk, address);
    if (!duringFirstPage) desk.advance(60s);
    desk.advance(100ms);
    ASSERT_TRUE(monitor.pageBrowser.Busy());
    desk.killRenderers();
    desk.advance(2min);
    EXPECT_FALSE(isAlerting(monitor));
    EXPECT_TRUE(hasBaseline(monitor));
    EXPECT_FALSE(monitor.baseline().isEmpty());

    ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
    desk.advance(61s);
    EXPECT_TRUE(isAlerting(monitor));
  }
}

// Five reloads without a good read: one journal row, one notification, a line in the window;
// no beep, no box; it keeps reloading and records once that it reads again.
TEST(BoardReading, AMonitorThatCannotReadTheBoardSaysSoOnceAndWhenItReadsAgain) {
  struct Case {
    Fault fault;  // None: the board's server shows a maintenance page instead
    QString reason;
  };
  for (const Case& c : {Case{Fault::ServerError, "HTTP 500"}, Case{Fault::Refused, "無法連線"},
                        Case{Fault::Never, "看板無回應"}, Case{Fault::RedirectAway, "不是看板頁面"},
                        Case{Fault::None, "不是看板頁面"}}) {
    SCOPED_TRACE(sites::FaultName(c.fault).toStdString());
    SimPortDesktop desk;
    BoardMonitor& monitor = watchWharf(desk);
    const std::size_t notices = desk.notifications().size();
    desk.sites().setFault(Service::Board, c.fault);
    if (c.fault == Fault::None) {
      desk.sites().addPage(kBoardPath.toLatin1(), {200, "text/html; charset=utf-8",
                                                   QStringLiteral("<p>系統維護中</p>").toUtf8()});
    }
    desk.advance(5min + 50s);  // four reloads since the fault, each period without a board
    EXPECT_TRUE(journalRowsOf(desk, journal::event::kBlind).empty()) << "too early";
    desk.advance(10s);  // the fifth period has ended

    const auto blind = journalRowsOf(desk, journal::event::kBlind);
    ASSERT_EQ(blind.size(), 1u);
    EXPECT_EQ(blind[0].summary, "無法讀取看板：" + c.reason + " (自 10:01)");
    EXPECT_EQ(monitor.changeLine.Caption(), blind[0].summary);
    EXPECT_TRUE(monitor.changeLine.Visible());
    EXPECT_EQ(monitor.changeLine.accessibleName(), blind[0].summary);
    ASSERT_EQ(desk.notifications().size(), notices + 1);
    EXPECT_EQ(desk.notifications().back().text, blind[0].summary);
    desk.trayDoubleClick();
    desk.clickMenu(
        windowCaptioned<ConsoleWindow>(desk, ConsoleWindow::ConsoleCaption()).monitorStatusMenu);
    const auto& statusRows =
        windowCaptioned<MonitorStatusWindow>(desk, "監看狀態").statusList.Rows();
    ASSERT_EQ(statusRows.size(), 1u);
    EXPECT_EQ(statusRows[0].value(2), blind[0].summary) << "the status window tells it too";
    EXPECT_TRUE(desk.beeps().empty());
    EXPECT_TRUE(desk.openBoxes().empty());

    desk.sites().setFault(Service::Board, Fault::None);
    desk.sites().removePage(kBoardPath.toLatin1());
    desk.advance(61s);
    EXPECT_EQ(journalRowsOf(desk, journal::event::kReadsAgain).size(), 1u);
    EXPECT_FALSE(monitor.changeLine.Visible());
    EXPECT_EQ(monitor.monitorStatus().state, MonitorStatus::State::Watching);
    EXPECT_FALSE(isAlerting(monitor)) << "the board it reads again is the one it watched";
  }
}
