#include <gtest/gtest.h>

#include <optional>

#include "test_printers.h"

#include "scenario/scenario_helpers.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

// The program started by a session whose panel, with its tray, is not up yet.
ConsoleWindow& startConsoleBeforeTheTray(SimDesktop& desk) {
  desk.setTrayPresent(false);
  return startConsole(desk);
}

}  // namespace

// An autostart that races the panel stays hidden while the tray is on its way; with no tray
// at all the console shows itself, its tray commands in the menu bar, where "Close" records
// the end time and leaves the console in reach.
TEST(ConsoleTrayHost, WithoutATrayTheConsoleShowsAfterTenSecondsUnlessOneComes) {
  struct Case {
    const char* story;
    std::optional<std::chrono::seconds> trayAfter;
    bool consoleShown;
  };
  for (const Case& c :
       {Case{"no tray comes", std::nullopt, true}, Case{"the tray comes at 5 s", 5s, false}}) {
    SCOPED_TRACE(c.story);
    SimDesktop desk{"2015-12-03 04:05:00"};
    ConsoleWindow& console = startConsoleBeforeTheTray(desk);
    EXPECT_FALSE(desk.tray().shown);
    std::chrono::seconds elapsed{0};
    if (c.trayAfter) {
      desk.advance(elapsed = *c.trayAfter);
      desk.setTrayPresent(true);
      EXPECT_TRUE(desk.tray().shown);
      EXPECT_EQ(desk.tray().tip, ConsoleWindow::ConsoleCaption());
    }
    desk.advance(9s - elapsed);
    EXPECT_FALSE(console.Visible()) << "shown before the grace was over";
    desk.advance(1s);

    EXPECT_EQ(console.Visible(), c.consoleShown);
    EXPECT_EQ(console.trayMenu.Visible(), c.consoleShown);
    if (c.consoleShown) {
      desk.clickMenu(console.closeMenu);
      EXPECT_EQ(ReadSetting("setup", "EndTime", ""), "2015/12/03 04:05:10");
      EXPECT_EQ(console.WindowState(), WindowState::Minimized);
    } else {
      desk.trayDoubleClick();
    }
    EXPECT_TRUE(console.Visible());
  }
}

// Until a tray is there, hiding would leave the console out of reach: closing it minimises
// it. A tray that comes takes the icon (unless the user hid it) and closing hides again.
TEST(ConsoleTrayHost, ATrayComingAfterTheConsoleShowedTakesTheIconAndClosingHidesAgain) {
  for (bool hideTrayIcon : {false, true}) {
    SCOPED_TRACE(hideTrayIcon ? "hide tray icon checked" : "hide tray icon clear");
    SimDesktop desk;
    ConsoleWindow& console = startConsoleBeforeTheTray(desk);
    console.hideTrayCheck.setValue(hideTrayIcon ? 1 : 0);
    desk.advance(10s);
    ASSERT_TRUE(console.Visible());
    desk.closeBox(console);
    EXPECT_TRUE(console.Visible());
    EXPECT_EQ(console.WindowState(), WindowState::Minimized);
    console.restore();

    desk.advance(50s);
    desk.setTrayPresent(true);

    EXPECT_EQ(desk.tray().shown, !hideTrayIcon);
    EXPECT_FALSE(console.trayMenu.Visible());
    desk.closeBox(console);
    EXPECT_FALSE(console.Visible());
    desk.trayDoubleClick();
    EXPECT_EQ(console.Visible(), !hideTrayIcon);
  }
}
