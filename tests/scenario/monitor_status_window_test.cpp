#include <gtest/gtest.h>

#include "test_printers.h"

#include "console/change_log_window.h"
#include "console/monitor_status_window.h"
#include "monitors/pilotboard/board_monitor.h"
#include "monitors/registration/registration_monitor.h"
#include "scenario/scenario_helpers.h"
#include "sites/board_service.h"
#include "sites/imct_service.h"
#include "sites/pilot_roster.h"
#include "sites/port_sites.h"
#include "sites/service_faults.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

const QString kMoved = QStringLiteral("YM HARMONY　抵港時間 14:30 → 14:40");
const QString kFound = QStringLiteral("實櫃數 12　空櫃數 3　YM HARMONY");

// A night's watch, in this order: registration number 01VABC, found at once; 01VZZZ, not yet
// found, whose window the user closed (it hides and goes on); the wharf 1108 and the vessel
// YM HARMONY, both on the board where the vessel's time then moves. The user stops the
// finding's and the vessel's alerts; the wharf's goes on.
ConsoleWindow& watchTheNight(SimPortDesktop& desk) {
  saveKnownPilots();
  saveKnownAccount();
  desk.sites().imct().setFinding("01VABC", {" YM HARMONY ", 12, 3});
  ConsoleWindow& console = startConsole(desk);
  typeAndClick(desk, console.registrationField, "01VABC", console.registrationButton);
  typeAndClick(desk, console.registrationField, "01VZZZ", console.registrationButton);
  typeAndClick(desk, console.wharfField, "1108", console.wharfButton);
  typeAndClick(desk, console.vesselField, "YM HARMONY", console.vesselButton);
  desk.advance(5s);  // the boards' first pages are the baselines
  desk.closeBox(windowCaptioned<RegistrationMonitor>(desk, "01VZZZ"));
  EXPECT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "14:40"));
  desk.advance(61s + 5s);
  desk.clickMenu(windowCaptioned<RegistrationMonitor>(desk, "01VABC").stopBeepMenu);
  desk.clickMenu(windowCaptioned<BoardMonitor>(desk, "YM HARMONY").stopBeepMenu);
  return console;
}

// The user brings the console up from the tray if it is hidden and clicks "監看狀態".
MonitorStatusWindow& openStatusWindow(SimDesktop& desk, ConsoleWindow& console) {
  if (!console.Visible()) desk.trayDoubleClick();
  desk.clickMenu(console.monitorStatusMenu);
  return windowCaptioned<MonitorStatusWindow>(desk, QStringLiteral("監看狀態"));
}

std::vector<QStringList> withoutLastRead(const MonitorStatusWindow& status) {
  std::vector<QStringList> rows = status.statusList.Rows();
  for (QStringList& row : rows) row.removeAt(3);
  return rows;
}

QStringList captions(const MonitorStatusWindow& status) {
  QStringList texts;
  for (const QStringList& row : status.statusList.Rows()) texts << row.value(0);
  return texts;
}

}  // namespace

// One look tells how every monitor stands, the alerting one on top; the list follows the
// monitors as they change and close, and the console's list of running monitors holds
// monitors only, whatever side windows are open.
TEST(MonitorStatusWindow, ListsEveryMonitorWithItsStateAlertingOnesFirst) {
  SimPortDesktop desk{"2026-12-08 23:58:00"};
  ConsoleWindow& console = watchTheNight(desk);
  desk.clickMenu(console.changeLogMenu);
  auto& status = openStatusWindow(desk, console);

  EXPECT_EQ(status.statusList.Columns(),
            QStringList({"視窗", "種類", "狀態", "最後讀取", "最後變更／找到", "摘要", "通知"}));
  // "最後讀取" left out: when a monitor last read its page well is the monitor's to tell.
  const std::vector<QStringList> night = {
      {"1108", "碼頭", "警示中", "23:59:01", kMoved, ""},
      {"01VABC", "海掛", "已找到", "23:58:00", kFound, ""},
      {"01VZZZ", "海掛", "監看中", "", "", ""},
      {"YM HARMONY", "船名", "已停止", "23:59:01", kMoved, ""},
  };
  EXPECT_EQ(withoutLastRead(status), night);
  EXPECT_EQ(status.summaryLine.Caption(), "共 4 個監看，1 個警示中");

  desk.click(console.openWindowsButton);
  EXPECT_EQ(console.batchListField.Text(), "01VABC\r\n01VZZZ\r\n1108\r\nYM HARMONY\r\n");
  EXPECT_EQ(console.openWindowCountLabel.Caption(), "4");

  // Past midnight the times carry their date; the user stops the wharf's alert and closes the
  // found number: the next refresh lists the rest in the order they were opened.
  desk.advance(1min);
  EXPECT_EQ(status.statusList.Rows()[0][4], "2026/12/08 23:59:01");
  desk.clickMenu(windowCaptioned<BoardMonitor>(desk, "1108").stopBeepMenu);
  desk.closeBox(windowCaptioned<RegistrationMonitor>(desk, "01VABC"));
  desk.advance(3s);
  EXPECT_EQ(captions(status), QStringList({"01VZZZ", "1108", "YM HARMONY"}));
  EXPECT_EQ(status.statusList.Rows()[1][2], "已停止");
  EXPECT_EQ(status.summaryLine.Caption(), "共 3 個監看");
}

// The user picks a monitor out of the list: a double-click, or Enter on the selected row,
// shows it in front, also when it was hidden or minimised. The selection stays on the same
// monitor when the rows move.
TEST(MonitorStatusWindow, ADoubleClickOrEnterBringsTheMonitorForward) {
  SimPortDesktop desk;
  ConsoleWindow& console = watchTheNight(desk);
  auto& status = openStatusWindow(desk, console);
  ASSERT_EQ(captions(status), QStringList({"1108", "01VABC", "01VZZZ", "YM HARMONY"}));
  ASSERT_TRUE(desk.select(status.statusList, 2));
  const QStringList* unchanged = &status.statusList.Rows()[0];
  desk.advance(3s);
  EXPECT_EQ(&status.statusList.Rows()[0], unchanged) << "rebuilt though nothing changed";

  desk.clickMenu(windowCaptioned<BoardMonitor>(desk, "1108").stopBeepMenu);
  desk.advance(3s);  // 1108 goes back to its place
  EXPECT_EQ(captions(status), QStringList({"01VABC", "01VZZZ", "1108", "YM HARMONY"}));
  EXPECT_EQ(status.statusList.ListIndex(), 1);

  struct Case {
    const char* caption;
    bool minimise;  // else it stays hidden
    bool enter;     // else a double-click on its row
  };
  for (const Case& c : {Case{"01VZZZ", false, true}, Case{"YM HARMONY", true, false}}) {
    SCOPED_TRACE(c.caption);
    Form& monitor = windowCaptioned<Form>(desk, c.caption);
    if (c.minimise) monitor.setWindowState(WindowState::Minimized);
    desk.activate(status);
    const int row = static_cast<int>(captions(status).indexOf(c.caption));
    ASSERT_TRUE(c.enter ? desk.pressEnter(status.statusList)
                        : desk.doubleClick(status.statusList, row));
    EXPECT_TRUE(monitor.Visible());
    EXPECT_EQ(monitor.WindowState(), WindowState::Normal);
    EXPECT_EQ(desk.foreground(), &monitor);
  }
}

// Opened in the opposite order of their urgency: the wharf 1110, which goes on watching; the
// number ABC123, whose service stops answering until it is blind; the wharf 1108, which then
// alerts. The alerting one is listed first, the blind one right after it, the watching one last.
TEST(MonitorStatusWindow, BlindMonitorsComeRightAfterAlertingOnesWhateverTheOrderOfOpening) {
  SimPortDesktop desk;
  saveKnownPilots();
  saveKnownAccount();
  ConsoleWindow& console = startConsole(desk);
  typeAndClick(desk, console.wharfField, "1110", console.wharfButton);
  typeAndClick(desk, console.registrationField, "ABC123", console.registrationButton);
  typeAndClick(desk, console.wharfField, "1108", console.wharfButton);
  desk.advance(5s);  // the first query answered, the boards' baselines taken
  desk.sites().setFault(sites::Service::Imct, sites::Fault::ServerError);
  desk.advance(20min);  // three query periods without an answer
  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "14:40"));
  desk.advance(61s + 5s);

  auto& status = openStatusWindow(desk, console);
  EXPECT_EQ(captions(status), QStringList({"1108", "ABC123", "1110"}));
  EXPECT_EQ(status.statusList.Rows()[0][2], "警示中");
  EXPECT_EQ(status.statusList.Rows()[1][2], "無法查詢 IMCT：HTTP 500 (自 10:05)");
  EXPECT_EQ(status.statusList.Rows()[2][2], "監看中");
  EXPECT_EQ(status.summaryLine.Caption(), "共 3 個監看，1 個警示中，1 個無法讀取");
  desk.clickMenu(windowCaptioned<BoardMonitor>(desk, "1108").stopBeepMenu);
}
