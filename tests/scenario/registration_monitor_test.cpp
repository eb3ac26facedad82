#include <gtest/gtest.h>

#include "test_printers.h"

#include "monitors/registration/registration_monitor.h"
#include "scenario/scenario_helpers.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

const Tones kAlertTones{{1000, 300ms}, {3000, 300ms}};

// The console with the account the simulated IMCT service knows.
ConsoleWindow& startWithAccount(SimDesktop& desk) {
  ConsoleWindow& console = startConsole(desk);
  desk.type(console.accountField, "TIDEX");
  desk.type(console.passwordField, "PASS");
  return console;
}

// The user types a registration number into the console and asks for it.
RegistrationMonitor& launchMonitor(SimDesktop& desk, ConsoleWindow& console,
                                   const QString& number) {
  typeAndClick(desk, console.registrationField, number, console.registrationButton);
  return windowCaptioned<RegistrationMonitor>(desk, number);
}

}  // namespace

TEST(RegistrationMonitorClose, TheRecordOfTheNumberDecidesWhetherTheWindowHidesOrCloses) {
  struct Case {
    const char* start;
    const char* touchfiles;  // nullptr: no record
    int hideTray;
    bool closes;
    bool beeps;
  };
  const Case cases[] = {
      {"2026-12-08 10:00:00", nullptr, 0, false, false},
      {"2026-12-08 10:00:00", "", 0, false, false},
      {"2026-12-08 10:00:00", "0", 0, false, false},
      {"2026-12-08 10:00:00", "1", 0, true, true},
      {"2026-12-08 10:00:00", "1", 1, true, false},
      {"2026-12-08 10:00:00", "2", 0, true, false},
      {"2026-12-08 04:55:10", nullptr, 0, true, false},  // 04:55 always closes
      {"2026-12-08 04:55:10", "1", 0, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " / " + (c.touchfiles ? c.touchfiles : "none"));
    SimDesktop desk{c.start};
    ConsoleWindow& console = startWithAccount(desk);
    console.hideTrayCheck.setValue(c.hideTray);
    RegistrationMonitor& monitor = launchMonitor(desk, console, "01VXXX");
    if (c.touchfiles) WriteSetting("Touchfiles", "01VXXX", c.touchfiles);
    console.registrationField.setText("OTHER");

    desk.closeBox(monitor);

    EXPECT_EQ(monitor.isUnloaded(), c.closes);
    EXPECT_FALSE(monitor.Visible());
    const Tones closeTone{{3000, 100ms}};
    EXPECT_EQ(desk.beeps(), c.beeps ? closeTone : Tones{});
    EXPECT_EQ(console.registrationField.Text(), c.beeps ? "01VXXX" : "OTHER");
    if (c.beeps) {
      EXPECT_EQ(console.activityTimeLabel.Caption(), "2026/12/8 上午 10:00:00");
    }
  }
}

TEST(RegistrationMonitorClose, AHiddenUnfoundMonitorKeepsPollingAndShowsAgainOnShowAll) {
  SimDesktop desk;
  ConsoleWindow& console = startWithAccount(desk);
  RegistrationMonitor& monitor = launchMonitor(desk, console, "01VXXX");
  desk.closeBox(monitor);
  ASSERT_FALSE(monitor.Visible());

  desk.advance(10s);
  EXPECT_EQ(monitor.secondsSinceQuery(), 10);
  desk.click(console.showAllButton);  // 開啟所有視窗
  desk.advance(1s);
  EXPECT_TRUE(monitor.Visible());
}

TEST(RegistrationMonitorDailyClose, At0450WithHideTrayAFoundWindowClosesSilentlyAndAnUnfoundHides) {
  SimDesktop desk{"2026-12-08 04:49:57"};
  ConsoleWindow& console = startWithAccount(desk);
  console.hideTrayCheck.setValue(1);
  RegistrationMonitor& found = launchMonitor(desk, console, "01VXXX");
  RegistrationMonitor& waiting = launchMonitor(desk, console, "01VYYY");
  desk.advance(2s);  // both answered: no data
  WriteSetting("Touchfiles", "01VXXX", "1");

  desk.advance(2s);

  EXPECT_TRUE(found.isUnloaded());
  EXPECT_FALSE(waiting.isUnloaded());
  EXPECT_FALSE(waiting.Visible());
  EXPECT_EQ(desk.beeps(), Tones{});
  desk.advance(60s);  // after 04:50 the window stays as it is
  EXPECT_FALSE(waiting.isUnloaded());
  EXPECT_EQ(waiting.secondsSinceQuery(), 64);
}

TEST(RegistrationMonitorPoll, RequeriesOnThe301stTickCountedFromItsCreation) {
  SimDesktop desk;
  useServer("imct", "https://imct.test");
  ConsoleWindow& console = startWithAccount(desk);
  RegistrationMonitor& monitor = launchMonitor(desk, console, "01VXXX");
  auto queries = [&desk] {
    return desk.sites().requestLog().filter("GET /APIMCT/pages/sp4100.jsp").size();
  };
  desk.advance(5s);  // logged in, asked once
  const auto before = queries();
  EXPECT_EQ(before, 1);

  desk.advance(295s);
  EXPECT_EQ(monitor.secondsSinceQuery(), 300);
  EXPECT_EQ(queries(), before);
  desk.advance(1s);
  EXPECT_EQ(monitor.secondsSinceQuery(), 0);
  desk.advance(500ms);
  EXPECT_EQ(queries(), before + 1);
}

TEST(RegistrationMonitorAlert, AlertLoopRaisesTheWindowAndBeepsAsTheConsoleTicksSay) {
  struct Case {
    int silent;
    int showNotification;
    bool raised;
    bool beeps;
  };
  for (const Case& c : {Case{0, 1, true, true}, Case{1, 1, true, false}, Case{0, 0, false, true}}) {
    SCOPED_TRACE(testing::Message() << "silent " << c.silent << " show " << c.showNotification);
    SimDesktop desk;
    ConsoleWindow& console = startWithAccount(desk);
    console.silentModeCheck.setValue(c.silent);
    console.showNotificationCheck.setValue(c.showNotification);
    RegistrationMonitor& monitor = launchMonitor(desk, console, "01VXXX");
    desk.closeBox(monitor);  // hidden, as an automatic batch leaves it
    WriteSetting("Touchfiles", "01VXXX", "1");
    monitor.pollTimer.setEnabled(false);
    monitor.alertTimer.setEnabled(true);

    desk.advance(5s);

    EXPECT_EQ(monitor.Visible(), c.raised);
    EXPECT_EQ(monitor.TopMost(), c.raised);
    EXPECT_EQ(desk.beeps(), c.beeps ? kAlertTones : Tones{});
    EXPECT_TRUE(monitor.stopBeepMenu.Enabled());
    EXPECT_TRUE(monitor.printMenu.Enabled());
    EXPECT_EQ(console.activityTimeLabel.Caption(), "2026/12/8 上午 10:00:05");

    desk.clickMenu(monitor.stopBeepMenu);
    desk.advance(10s);
    EXPECT_EQ(desk.beeps().size(), c.beeps ? 2u : 0u);
    EXPECT_TRUE(monitor.pageFrame.Enabled());
    EXPECT_EQ(monitor.TopMost(), c.raised);  // never taken back
  }
}

TEST(RegistrationMonitorPrint, PrintStopsTheAlertUnlocksThePageAndGreysItselfForThreeSeconds) {
  SimDesktop desk;
  ConsoleWindow& console = startWithAccount(desk);
  RegistrationMonitor& monitor = launchMonitor(desk, console, "01VXXX");
  monitor.pollTimer.setEnabled(false);
  monitor.alertTimer.setEnabled(true);
  desk.advance(5s);

  desk.clickMenu(monitor.printMenu);
  EXPECT_FALSE(monitor.isAlerting());
  EXPECT_TRUE(monitor.pageFrame.Enabled());
  EXPECT_FALSE(monitor.printMenu.Enabled());
  desk.advance(2900ms);
  EXPECT_FALSE(monitor.printMenu.Enabled());
  desk.advance(200ms);
  EXPECT_TRUE(monitor.printMenu.Enabled());
  EXPECT_FALSE(monitor.printMenuTimer.Enabled());
}

TEST(FoundNotificationExtract, TakesTheTextBetweenTheMarkersByTheirPositions) {
  struct Case {
    QString text;
    QString extract;
  };
  const Case cases[] = {
      {"船名 YM HARMONY 船隻", " YM HARMONY "},
      {"no markers at all", ""},
      {"進港 first, then 艏推", ""},
      {"艏推\t1108\r\n", ""},      // no end marker: a negative length
      {"x船隻 only the end", ""},  // start 2, length 0
      {"abcd船隻", "bcd"},         // no begin marker: from the second character
      {"船名", ""},
  };
  for (const Case& c : cases) {
    const bool board = c.text.contains("艏推") || c.text.contains("進港");
    const QString got =
        board ? ExtractBetween(c.text, "艏推", "進港") : ExtractBetween(c.text, "船名", "船隻");
    EXPECT_EQ(got, c.extract) << c.text.toStdString();
  }
}
