#include <gtest/gtest.h>

#include <optional>

#include "test_printers.h"

#include "common/settings/settings.h"
#include "console/console_window.h"
#include "sim_port_desktop.h"

using namespace tidex;
using namespace std::chrono_literals;

TEST(ConsoleTray, DoubleClickShowsTheConsoleInFrontAndTopMost) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  console.setTopMost(false);

  desk.trayDoubleClick();

  EXPECT_TRUE(console.Visible());
  EXPECT_EQ(desk.foreground(), &console);
  EXPECT_TRUE(console.TopMost());
  EXPECT_TRUE(desk.windowLog().contains("restore " + ConsoleWindow::ConsoleCaption()));
}

TEST(ConsoleTray, RightClickPopsUpTheTrayMenuWhoseShowBringsTheConsoleBack) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();

  desk.trayRightClick();
  ASSERT_EQ(desk.lastPopup(), &console.trayMenu);
  EXPECT_FALSE(console.Visible());
  desk.clickMenu(console.showMenu);

  EXPECT_TRUE(console.Visible());
}

TEST(ConsoleTray, EventCodesInTwipsAreScaledAndOtherCodesDoNothing) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  console.trayIconPicture.setScaleMode(ScaleMode::Twips);
  desk.moveMouse(console.trayIconPicture, 0x200 * 15, 0);  // a plain move
  EXPECT_FALSE(console.Visible());
  desk.moveMouse(console.trayIconPicture, 0x203 * 15, 0);
  EXPECT_TRUE(console.Visible());
}

TEST(ConsoleClose, CloseBoxHidesTheConsoleAndKeepsTheTrayIcon) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  desk.trayDoubleClick();

  desk.closeBox(console);

  EXPECT_FALSE(console.Visible());
  EXPECT_FALSE(console.isUnloaded());
  EXPECT_TRUE(desk.tray().shown);
  EXPECT_FALSE(desk.ended());
}

TEST(ConsoleClose, SessionEndAndTerminationRemoveTheTrayIconAndEndTheProgram) {
  for (bool sessionEnd : {true, false}) {
    SimPortDesktop desk;
    auto& console = desk.start<ConsoleWindow>();
    sessionEnd ? desk.endSession() : desk.terminate();
    EXPECT_FALSE(desk.tray().shown);
    EXPECT_TRUE(desk.ended());
    EXPECT_TRUE(console.isUnloaded());
  }
}

TEST(ConsoleMenus, CloseRecordsEndTimeRemovesTheIconAndHides) {
  SimPortDesktop desk{"2015-12-03 04:05:07"};
  auto& console = desk.start<ConsoleWindow>();
  desk.trayDoubleClick();
  desk.advance(2s);

  desk.clickMenu(console.closeMenu);

  EXPECT_EQ(ReadSetting("setup", "EndTime", ""), "2015/12/03 04:05:09");
  EXPECT_FALSE(desk.tray().shown);
  EXPECT_FALSE(console.Visible());
  EXPECT_FALSE(desk.ended());
  desk.trayDoubleClick();  // the icon is gone for the rest of the run
  EXPECT_FALSE(console.Visible());
}

TEST(ConsoleMenus, FileExitHidesAndAboutOpensTheMakersPage) {
  SimPortDesktop desk;
  WriteSetting("servers", "maker", "http://127.0.0.1:7001/");
  auto& console = desk.start<ConsoleWindow>();
  desk.trayDoubleClick();

  desk.clickMenu(console.hideMenu);
  EXPECT_FALSE(console.Visible());
  desk.clickMenu(console.aboutMenu);
  EXPECT_EQ(desk.openedUrls(), QStringList{"http://127.0.0.1:7001/pda/Tidex_about.php"});
}

// The File menu's way out, for desktops that take Ctrl+Alt with a click for themselves: a
// question whose countdown and default answer keep the program running.
TEST(ConsoleMenus, EndProgramEndsOnlyOnYesAndRecordsTheEndTime) {
  struct Case {
    const char* story;
    std::optional<BoxResult> answer;  // none: nobody answers
    bool ends;
  };
  for (const Case& c : {Case{"yes", BoxResult::Yes, true}, Case{"no", BoxResult::No, false},
                        Case{"nobody answers", std::nullopt, false}}) {
    SCOPED_TRACE(c.story);
    SimPortDesktop desk{"2015-12-03 04:05:07"};
    auto& console = desk.start<ConsoleWindow>();
    desk.trayDoubleClick();

    desk.clickMenu(console.endProgramMenu);
    ASSERT_EQ(desk.openBoxes().size(), 1u);
    EXPECT_EQ(desk.boxes()[0].style, (BoxStyle{BoxButtons::YesNo, BoxDefault::Second}))
        << "Enter answers No";
    desk.advance(2s);
    if (c.answer) {
      desk.answer(*c.answer);
    } else {
      desk.advance(9s);
    }

    EXPECT_TRUE(desk.openBoxes().empty());
    EXPECT_EQ(desk.ended(), c.ends);
    EXPECT_EQ(desk.tray().shown, !c.ends);
    EXPECT_EQ(ReadSetting("setup", "EndTime", "none"), c.ends ? "2015/12/03 04:05:09" : "none");
  }
}

TEST(ConsoleActivation, HideTrayCheckRemovesTheIconAtTheNextActivationForGood) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  console.hideTrayCheck.setValue(1);

  desk.trayDoubleClick();
  EXPECT_FALSE(desk.tray().shown);
  console.hideTrayCheck.setValue(0);
  console.Hide();
  console.Show();
  desk.advance(1s);
  EXPECT_FALSE(desk.tray().shown);
}

TEST(ConsoleQuitGesture, OnlyCtrlAltWithoutShiftEndsTheProgram) {
  using enum ModifierKeys;
  struct Case {
    const char* story;
    ModifierKeys keys;
    bool ends;
  };
  for (Case c :
       {Case{"Ctrl+Alt", Ctrl | Alt, true}, Case{"Ctrl", Ctrl, false}, Case{"Alt", Alt, false},
        Case{"Ctrl+Alt+Shift", Ctrl | Alt | Shift, false}, Case{"no key", None, false}}) {
    for (bool onLabel : {true, false}) {
      SimPortDesktop desk;
      auto& console = desk.start<ConsoleWindow>();
      if (onLabel) {
        desk.mouseDown(console.exitLabel, c.keys);
      } else {
        desk.click(console.showAllButton, c.keys);
      }
      EXPECT_EQ(desk.ended(), c.ends) << c.story << (onLabel ? " on Exit" : " on show-all");
      EXPECT_EQ(desk.tray().shown, !c.ends);
      EXPECT_EQ(ReadSetting("setup", "EndTime", "none"), "none");
    }
  }
}

TEST(ConsoleSecondStart, BringsTheHiddenFirstConsoleForwardAndLeavesNoTrayIcon) {
  SimPortDesktop desk;
  auto& first = desk.start<ConsoleWindow>();
  ASSERT_FALSE(first.Visible());

  ConsoleWindow* second = desk.startSecondCopy<ConsoleWindow>();

  EXPECT_EQ(second, nullptr);  // the second copy ended itself
  EXPECT_TRUE(first.Visible());
  EXPECT_EQ(desk.foreground(), &first);
  EXPECT_EQ(first.Caption(), ConsoleWindow::ConsoleCaption());
  EXPECT_FALSE(desk.secondCopyTray().shown);
  EXPECT_TRUE(desk.tray().shown);
  EXPECT_FALSE(desk.ended());
  EXPECT_EQ(desk.windows().count(), 1u);
}

TEST(ConsoleSilentMode, CheckCaptionTurnsRedWhenSetAndBackWhenCleared) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  const Colour normal = Colour::system(SystemColour::ButtonText);

  desk.toggle(console.silentModeCheck);
  EXPECT_EQ(console.silentModeCheck.ForeColor(), Colour::fromRgbValue(255));
  EXPECT_EQ(console.silentModeCheck.ForeColor().red(), 255);
  console.silentModeCheck.setValue(2);
  EXPECT_EQ(console.silentModeCheck.ForeColor(), Colour::fromRgbValue(255));
  console.silentModeCheck.setValue(0);
  EXPECT_EQ(console.silentModeCheck.ForeColor(), normal);
}
