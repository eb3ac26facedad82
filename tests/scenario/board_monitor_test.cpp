#include <gtest/gtest.h>

#include <QFile>

#include "board_path.h"
#include "common/settings/settings.h"
#include "console/console_window.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "platform/ansi_text.h"
#include "scenario/scenario_helpers.h"
#include "sim_port_desktop.h"
#include "sites/board_service.h"
#include "sites/pilot_roster.h"
#include "sites/port_sites.h"
#include "test_printers.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

const Tones kAlertTones{{1000, 300ms}, {3000, 300ms}};

int boardRequests(SimPortDesktop& desk) {
  return static_cast<int>(desk.sites().requestLog().filter(kBoardPath).size());
}

// A console with the known pilots configured and one monitor of the given kind open.
template <class W>
W& openMonitor(SimDesktop& desk, const QString& item) {
  saveKnownPilots();
  auto& console = desk.start<ConsoleWindow>();
  if constexpr (std::is_same_v<W, WharfMonitor>) {
    console.wharfField.setText(item);
    desk.click(console.wharfButton);
  } else if constexpr (std::is_same_v<W, VesselMonitor>) {
    console.vesselField.setText(item);
    desk.click(console.vesselButton);
  } else {
    console.urlField.setText(item);
    desk.click(console.urlButton);
  }
  desk.advance(2s);
  W* monitor = dynamic_cast<W*>(desk.windows().all().back());
  EXPECT_NE(monitor, nullptr);
  return *monitor;
}

}  // namespace

TEST(WharfMonitor, TakesItsBaselineFromTheSearchAnswerWithOneSubmitAndNeverAlertsOnIt) {
  SimPortDesktop desk;
  auto& mon = openMonitor<WharfMonitor>(desk, "1108");

  const QStringList log = desk.sites().requestLog().filter(kBoardPath);
  ASSERT_EQ(log.size(), 2);
  EXPECT_EQ(log[0], "GET " + kBoardPath +
                        "?QSP_ID=&QSP_ENAME=&QSP_PORT=1108&QSP_PAGID=&SP_CALL=&SEARCH=1&"
                        "iPage=&OK=%B7j%B4M");
  EXPECT_TRUE(log[1].contains("QSP_PORT=1108")) << log[1].toStdString();
  EXPECT_TRUE(log[1].contains("OK=%B7j%B4M")) << log[1].toStdString();
  EXPECT_TRUE(mon.hasBaseline());
  EXPECT_EQ(mon.baseline(), mon.latest());
  EXPECT_TRUE(mon.searchSent());
  EXPECT_TRUE(mon.baseline().contains("1108"));

  desk.advance(3min);
  EXPECT_TRUE(desk.beeps().empty());
  EXPECT_TRUE(mon.pollTimer.Enabled());
}

TEST(WharfMonitor, ReloadsOnEverySixtiethTickWithOneSubmitPerReload) {
  SimPortDesktop desk;
  auto& mon = openMonitor<WharfMonitor>(desk, "1108");
  const int before = boardRequests(desk);

  desk.advance(56s);  // 58 ticks since the window opened
  EXPECT_EQ(mon.secondsSinceReload(), 58);
  EXPECT_EQ(boardRequests(desk), before);
  desk.advance(1s);
  EXPECT_EQ(mon.secondsSinceReload(), 59);
  desk.advance(1s);
  EXPECT_EQ(mon.secondsSinceReload(), 0);
  EXPECT_FALSE(mon.searchSent());
  desk.advance(2s);
  EXPECT_TRUE(mon.searchSent());
  EXPECT_EQ(boardRequests(desk), before + 2);
}

TEST(WharfMonitor, ATimeChangeAlertsEveryFiveSecondsUntilStopped) {
  SimPortDesktop desk;
  auto& mon = openMonitor<WharfMonitor>(desk, "1108");
  auto& console = consoleOf(desk);
  mon.Hide();
  console.wharfField.setText("9999");

  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
  desk.advance(61s);
  EXPECT_FALSE(mon.pollTimer.Enabled());
  EXPECT_TRUE(mon.pageFrame.Enabled());
  EXPECT_TRUE(desk.beeps().empty()) << "nothing sounds at the moment of detection";
  desk.advance(5s);

  EXPECT_EQ(desk.beeps(), kAlertTones);
  EXPECT_TRUE(mon.Visible());
  EXPECT_TRUE(mon.TopMost());
  EXPECT_EQ(desk.foreground(), &mon);
  EXPECT_EQ(console.wharfField.Text(), "1108");
  EXPECT_TRUE(mon.stopBeepMenu.Enabled());
  desk.advance(10s);
  EXPECT_EQ(desk.beeps().size(), 6u);

  desk.clickMenu(mon.stopBeepMenu);
  desk.advance(2min);
  EXPECT_EQ(desk.beeps().size(), 6u);
  EXPECT_FALSE(mon.hideMenu.Enabled());
  EXPECT_TRUE(mon.TopMost());
}

TEST(WharfMonitor, SilentModeRaisesTheWindowWithoutSound) {
  SimPortDesktop desk;
  auto& mon = openMonitor<WharfMonitor>(desk, "1108");
  consoleOf(desk).silentModeCheck.setValue(1);
  mon.Hide();
  desk.sites().board().setStatus("1108", "YM HARMONY", "已離港");
  desk.advance(66s);
  EXPECT_TRUE(mon.Visible());
  EXPECT_TRUE(mon.isAlerting());
  EXPECT_TRUE(desk.beeps().empty());
}

TEST(WharfMonitor, KnownPilotSwapsAndExemptionDoNotAlertButAnUnknownPilotDoes) {
  struct Case {
    const char* pilot;
    bool alerts;
  };
  for (Case c : {Case{"0037", false}, Case{"0090", false}, Case{"", false}, Case{"0000", false},
                 Case{"0036", true}, Case{"0040", true}}) {
    SimPortDesktop desk;
    auto& board = desk.sites().board();
    board.assignPilot("1108", "YM HARMONY", "0035");
    auto& mon = openMonitor<WharfMonitor>(desk, "1108");
    board.assignPilot("1108", "YM HARMONY", c.pilot);
    desk.advance(66s);
    EXPECT_EQ(mon.isAlerting(), c.alerts) << c.pilot;
  }
}

TEST(WharfMonitor, ErrorPagesAreNotComparedAndKeepTheCounter) {
  for (int mode = 0; mode < 3; ++mode) {
    SimPortDesktop desk;
    auto& board = desk.sites().board();
    auto& mon = openMonitor<WharfMonitor>(desk, "1108");
    if (mode == 0) board.failWith(500);
    if (mode == 1) board.setUnreachable(true);
    if (mode == 2) {
      desk.sites().addPage(kBoardPath.toLatin1(),
                           {200, "text/html; charset=big5", toAnsi("<p>無法連線，請稍後再試</p>")});
    }
    desk.advance(3min);
    EXPECT_TRUE(mon.latestIsErrorPage()) << mode;
    EXPECT_NE(mon.baseline(), mon.latest()) << mode;
    EXPECT_FALSE(mon.isAlerting()) << mode;
    EXPECT_EQ(mon.differenceTicks(), 0) << mode;
  }
}

TEST(WharfMonitor, ABoardShowingFifteenHundredIsStillCompared) {
  SimPortDesktop desk;
  auto& board = desk.sites().board();
  board.setBerthTime("1108", "YM HARMONY", "15:00");
  auto& mon = openMonitor<WharfMonitor>(desk, "1108");
  ASSERT_TRUE(mon.baseline().contains("1500"));
  EXPECT_FALSE(mon.latestIsErrorPage());
  board.setBerthTime("1108", "YM HARMONY", "15:01");
  desk.advance(66s);
  EXPECT_EQ(desk.beeps(), kAlertTones);
}

TEST(VesselMonitor, UpperCasesTheNameKeepsItsBlankAndAlertsOnALetterChange) {
  SimPortDesktop desk;
  auto& mon = openMonitor<VesselMonitor>(desk, "ym harmony");
  EXPECT_EQ(mon.Caption(), "YM HARMONY");
  EXPECT_EQ(desk.sites().requestLog().filter(kBoardPath).front(),
            "GET " + kBoardPath +
                "?QSP_ID=&QSP_ENAME=YM%20HARMONY&QSP_PORT=&QSP_PAGID=&SP_CALL=&"
                "SEARCH=1&iPage=&OK=%B7j%B4M");
  EXPECT_TRUE(mon.baseline().contains("YMHARMONY"));

  desk.sites().board().renameVessel("1108", "YM HARMONY", "YM HARMONY II");
  desk.advance(66s);
  EXPECT_TRUE(mon.isAlerting());
}

TEST(WharfMonitor, ALatinLetterChangeAloneDoesNotAlert) {
  SimPortDesktop desk;
  auto& mon = openMonitor<WharfMonitor>(desk, "1108");
  desk.sites().board().renameVessel("1108", "YM HARMONY", "YM HARMONYX");
  desk.advance(3min);
  EXPECT_FALSE(mon.isAlerting());
}

TEST(UrlMonitor, LoadsTheAddressAsTypedAndAlertsOnAnErrorPage) {
  SimPortDesktop desk;
  const QString address = "http://127.0.0.1:8080" + kBoardPath +
                          "?QSP_ID=&QSP_ENAME=&QSP_PORT=1108&QSP_PAGID=&SP_CALL=&"
                          "SEARCH=1&iPage=&OK=%B7j%B4M";
  auto& mon = openMonitor<UrlMonitor>(desk, address);
  EXPECT_EQ(mon.Caption(), address);
  EXPECT_EQ(boardRequests(desk), 1) << "the address monitor submits no form";

  desk.sites().board().setUnreachable(true);
  desk.advance(57s);  // the reload comes on the window's 60th second
  EXPECT_FALSE(mon.isAlerting());
  desk.advance(3s);
  EXPECT_TRUE(mon.isAlerting());
}

TEST(BoardMonitor, ShowAllFlagShowsAHiddenOrMinimisedMonitorWithinASecond) {
  SimPortDesktop desk;
  auto& mon = openMonitor<WharfMonitor>(desk, "1108");
  mon.Hide();
  mon.setWindowState(WindowState::Minimized);
  desk.click(consoleOf(desk).showAllButton);
  desk.advance(1s);
  EXPECT_TRUE(mon.Visible());
  EXPECT_EQ(mon.WindowState(), WindowState::Normal);
}

TEST(BoardMonitor, ClosingAsksAndOnlyYesReopensHalfASecondLater) {
  struct Case {
    const char* story;
    std::optional<BoxResult> answer;  // none: nobody answers
    bool reopens;
  };
  for (Case c :
       {Case{"yes", BoxResult::Yes, true}, Case{"no", BoxResult::No, false},
        Case{"cancel", BoxResult::Cancel, false}, Case{"nobody answers", std::nullopt, false}}) {
    SCOPED_TRACE(c.story);
    SimPortDesktop desk;
    auto& mon = openMonitor<WharfMonitor>(desk, "1108");
    auto& console = consoleOf(desk);
    console.wharfField.setText("other");
    desk.closeBox(mon);

    EXPECT_FALSE(mon.Visible());
    EXPECT_EQ(console.wharfField.Text(), "1108");
    ASSERT_EQ(desk.openBoxes().size(), 1u);
    EXPECT_EQ(desk.openBoxes()[0]->texts.front(), "是否重新開船名？ 9 秒");
    EXPECT_EQ(desk.openBoxes()[0]->style, BoxButtons::YesNoCancel);
    if (c.answer) {
      desk.answer(*c.answer);
    } else {
      desk.advance(9s);
    }
    EXPECT_TRUE(mon.isUnloaded());
    desk.advance(499ms);
    EXPECT_EQ(desk.windows().count(), 1u);
    desk.advance(2s);
    EXPECT_EQ(findWindow<WharfMonitor>(desk, "1108") != nullptr, c.reopens);
    EXPECT_TRUE(desk.openBoxes().empty()) << "a reopened monitor is not refused";
  }
}

TEST(WharfMonitor, AnErrorPageAtOpeningIsNoBaselineAndTheRecoveredBoardDoesNotAlert) {
  SimPortDesktop desk;
  auto& board = desk.sites().board();
  board.setUnreachable(true);
  auto& mon = openMonitor<WharfMonitor>(desk, "1108");
  EXPECT_FALSE(mon.hasBaseline());
  EXPECT_TRUE(mon.latestIsErrorPage());

  board.recover();
  desk.advance(62s);
  EXPECT_TRUE(mon.hasBaseline());
  EXPECT_EQ(mon.baseline(), mon.latest());
  desk.advance(2min);
  EXPECT_FALSE(mon.isAlerting());
  EXPECT_TRUE(desk.beeps().empty());
}

// Somebody deletes the settings file, or an editor leaves garbage in it, while a wharf monitor
// runs: its reloads still go to the configured board and known pilots still raise no alert.
TEST(WharfMonitor, KeepsItsServerAndPilotsWhenTheSettingsFileGoesBad) {
  static constexpr char kGarbage[] = "\x00\xff garbage [[[\r\n=\x01";
  for (const QByteArray& bad : {QByteArray(), QByteArray(kGarbage, sizeof kGarbage - 1)}) {
    SimPortDesktop desk;
    WriteSetting("servers", "board", "http://board.test");
    auto& mon = openMonitor<WharfMonitor>(desk, "1108");
    {
      QFile ini(settingsFilePath());
      if (bad.isEmpty()) {
        ASSERT_TRUE(ini.remove());
      } else {
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(bad);
      }
    }
    desk.sites().board().assignPilot("1108", "YM HARMONY", "0037");  // known: no alert
    desk.advance(61s + 5s);
    EXPECT_FALSE(mon.isAlerting());
    QStringList pages;
    for (const SimNavigation& n : desk.navigations()) {
      if (n.browser == "Form6.WebBrowser1") pages << n.request.url;
    }
    ASSERT_GE(pages.size(), 2);
    EXPECT_TRUE(pages.last().startsWith("http://board.test" + kBoardPath + "?"))
        << pages.last().toStdString();

    ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
    desk.advance(61s + 5s);
    EXPECT_TRUE(mon.isAlerting());
  }
}
