#include <gtest/gtest.h>

#include <algorithm>

#include "board_path.h"
#include "test_printers.h"

#include "common/settings/settings.h"
#include "console/console_window.h"
#include "monitors/registration/registration_monitor.h"
#include "scenario/scenario_helpers.h"
#include "sim_port_desktop.h"

using namespace tidex;
using namespace std::chrono_literals;

namespace {

QStringList captionsAfterConsole(SimDesktop& desk) {
  QStringList out;
  const auto all = desk.windows().all();
  for (std::size_t i = 1; i < all.size(); ++i) out << all[i]->Caption();
  return out;
}

ConsoleWindow& startWithOpenBatchList(SimDesktop& desk, const QString& list) {
  auto& console = desk.start<ConsoleWindow>();
  desk.mouseDown(console.batchListField, ModifierKeys::Ctrl | ModifierKeys::Alt);
  console.batchListField.setText(list);
  return console;
}

}  // namespace

TEST(ManualBatch, InitialListLaunchesTwoNumbersSkipsTheEmptyLineAndEndsOnTheFourthStep) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  desk.mouseDown(console.batchListField, ModifierKeys::Ctrl | ModifierKeys::Alt);
  ASSERT_TRUE(console.batchStepButton.Enabled());

  desk.click(console.batchStepButton);
  EXPECT_EQ(console.batchCountLabel.Caption(), "3");
  EXPECT_EQ(captionsAfterConsole(desk), QStringList{"01VXXX"});
  desk.click(console.batchStepButton);
  desk.click(console.batchStepButton);
  EXPECT_EQ(captionsAfterConsole(desk), (QStringList{"01VXXX", "01VYYY"}));
  EXPECT_EQ(console.batchIndexLabel.Caption(), "3");

  desk.click(console.batchStepButton);
  EXPECT_EQ(console.batchIndexLabel.Caption(), "0");
  EXPECT_FALSE(console.batchStepButton.Enabled());
  EXPECT_TRUE(console.batchListField.Locked());
  EXPECT_FALSE(console.batchFilterCheck.Enabled());
  EXPECT_EQ(console.batchFilterCheck.Value(), 1);
  EXPECT_EQ(captionsAfterConsole(desk).size(), 2);
  for (Form* w : desk.windows().all()) {
    if (w != &console) {
      EXPECT_TRUE(w->Visible());
    }
  }
}

TEST(ManualBatch, LaunchSavesAccountFieldsButNotTheLocationAndMasksTheAccount) {
  SimPortDesktop desk;
  auto& console = startWithOpenBatchList(desk, "01VAAA");
  console.accountField.setText("agent");
  console.passwordField.setText("secret");
  desk.click(console.batchStepButton);

  EXPECT_EQ(console.accountField.PasswordChar(), QChar('*'));
  EXPECT_FALSE(console.accountField.Enabled());
  EXPECT_FALSE(console.passwordField.Enabled());
  EXPECT_TRUE(console.batchListField.Locked());
  EXPECT_NE(ReadSetting("setup", "001", "none"), "none");
  EXPECT_EQ(ReadSetting("setup", "005", "none"), "none");
}

TEST(ManualBatch, ALinePartOfAnOpenCaptionIsSkippedAndCheckIsLaunched) {
  SimPortDesktop desk;
  auto& console = startWithOpenBatchList(desk, "1.0\r\nCHECK\r\n01VXXX\r\n01V");
  for (int i = 0; i < 4; ++i) desk.click(console.batchStepButton);
  // "1.0" is part of the console's caption, "01V" part of the window opened for "01VXXX"
  EXPECT_EQ(captionsAfterConsole(desk), (QStringList{"CHECK", "01VXXX"}));
  EXPECT_EQ(console.batchIndexLabel.Caption(), "4");
}

TEST(BatchFilter, TouchfilesRecordDecidesManualAndAutomaticLaunches) {
  struct Case {
    const char* record;  // null: no record
    bool launched;
    bool beepsInManualStep;
  };
  for (Case c : {Case{nullptr, true, false}, Case{"0", true, false}, Case{"1", false, true},
                 Case{"2", false, false}, Case{"x", false, false}}) {
    for (bool automatic : {false, true}) {
      SimPortDesktop desk;
      auto& console = startWithOpenBatchList(desk, automatic ? "CHECK\r\n01VAAA" : "01VAAA");
      if (c.record) WriteSetting("Touchfiles", "01VAAA", c.record);
      if (automatic) {
        console.accountField.setText(
            "agent");  // without an account the automatic batch opens nothing
        console.passwordField.setText("secret");
        console.batchIndexLabel.setCaption("1");
        console.runAutomaticBatchStep();
      } else {
        desk.click(console.batchStepButton);
      }
      const bool launched = captionsAfterConsole(desk) == QStringList{"01VAAA"};
      EXPECT_EQ(launched, c.launched) << (c.record ? c.record : "none") << automatic;
      const Tones expected = c.beepsInManualStep && !automatic ? Tones{{3000, 100ms}} : Tones{};
      EXPECT_EQ(desk.beeps(), expected) << (c.record ? c.record : "none") << automatic;
    }
  }
}

TEST(AutomaticBatch, AListWithoutCheckEndsAtTheFirstStep) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  console.halfHourTimer.setEnabled(false);
  console.batchListField.setText("01VAAA\r\n01VBBB\r\n");
  console.automaticBatchTimer.setEnabled(true);

  desk.advance(3s);

  EXPECT_TRUE(captionsAfterConsole(desk).isEmpty());
  EXPECT_FALSE(console.automaticBatchTimer.Enabled());
  EXPECT_TRUE(console.halfHourTimer.Enabled());
  EXPECT_TRUE(console.openWindowsButton.Enabled());
  EXPECT_EQ(console.batchIndexLabel.Caption(), "0");
}

TEST(AutomaticBatch, StepsEveryThreeSecondsSkipCheckAndLaunchHidden) {
  SimPortDesktop desk;
  scenario::saveKnownAccount();
  auto& console = desk.start<ConsoleWindow>();
  console.batchListField.setText("CHECK\r\n01vaaa\r\n01VBBB");
  console.automaticBatchTimer.setEnabled(true);

  desk.advance(3s);
  EXPECT_FALSE(console.openWindowsButton.Enabled());
  EXPECT_TRUE(captionsAfterConsole(desk).isEmpty());
  desk.advance(6s);
  EXPECT_EQ(captionsAfterConsole(desk), (QStringList{"01VAAA", "01VBBB"}));
  for (Form* w : desk.windows().all()) {
    if (w != &console) {
      EXPECT_FALSE(w->Visible());
    }
  }
  desk.advance(3s);
  EXPECT_FALSE(console.automaticBatchTimer.Enabled());
  EXPECT_EQ(console.batchIndexLabel.Caption(), "0");
}

TEST(SingleLaunch, RefusalsShowTheirOwnMessageForNineSeconds) {
  struct Case {
    CommandButton ConsoleWindow::*button;
    TextBox ConsoleWindow::*field;
    const char* item;
    const char* message;
  };
  for (Case c : {Case{&ConsoleWindow::registrationButton, &ConsoleWindow::registrationField, "01VX",
                      "此海掛執行中，請查詢運作中的海掛！ "},
                 Case{&ConsoleWindow::vesselButton, &ConsoleWindow::vesselField, "01VX",
                      "此船名執行中，請查詢運作中的海掛！ "},
                 Case{&ConsoleWindow::wharfButton, &ConsoleWindow::wharfField, "01VX",
                      "此碼頭執行中，請查詢運作中的海掛！ "},
                 Case{&ConsoleWindow::urlButton, &ConsoleWindow::urlField, "http://01vx.test/",
                      "此URL執行中，請查詢運作中的海掛！ "}}) {
    SimPortDesktop desk;
    scenario::saveKnownAccount();
    auto& console = desk.start<ConsoleWindow>();
    (console.*c.field).setText(c.item);
    desk.click(console.*c.button);
    ASSERT_EQ(desk.windows().count(), 2u);
    desk.click(console.*c.button);  // the item is now a window's caption

    ASSERT_EQ(desk.boxes().size(), 1u);
    EXPECT_EQ(desk.boxes()[0].texts.front(), QString(c.message) + "9 秒");
    EXPECT_EQ(desk.boxes()[0].style, BoxButtons::Ok);
    EXPECT_EQ(desk.boxes()[0].title, "訊息");
    desk.advance(9s);
    EXPECT_TRUE(desk.openBoxes().empty());
    EXPECT_EQ(desk.windows().count(), 2u);
  }
}

// Web pages only, and a bare address as a browser takes it: the monitor's caption, its page
// and the running test use the completed address.
TEST(SingleLaunch, TheUrlMonitorTakesWebAddressesAndCompletesBareOnes) {
  struct Case {
    QString typed;
    QString watched;  // null: refused
  };
  for (Case c : {Case{"www.example.com" + kBoardPath, "http://www.example.com" + kBoardPath},
                 Case{"127.0.0.1:8080" + kBoardPath + "?QSP_PORT=1108",
                      "http://127.0.0.1:8080" + kBoardPath + "?QSP_PORT=1108"},
                 Case{"localhost:8080/x", "http://localhost:8080/x"},
                 Case{"HTTPS://Board.Example.com/Q", "HTTPS://Board.Example.com/Q"},
                 Case{"file:///etc/passwd", {}}, Case{"javascript:alert(1)", {}},
                 Case{"data:text/html,<p>x</p>", {}}, Case{"ftp://files.example.com/x", {}},
                 Case{"user@www.example.com/x", {}}, Case{"localhost/x", {}},
                 Case{"not an address", {}}, Case{"http://", {}}}) {
    SCOPED_TRACE(c.typed.toStdString());
    SimPortDesktop desk;
    auto& console = desk.start<ConsoleWindow>();
    console.urlField.setText(c.typed);
    desk.click(console.urlButton);

    if (c.watched.isNull()) {
      EXPECT_EQ(desk.windows().count(), 1u);
      EXPECT_TRUE(desk.navigations().size() <= 1u);  // the console's own start-up page only
      ASSERT_EQ(desk.boxes().size(), 1u);
      EXPECT_EQ(desk.boxes()[0].texts.front(), "此URL無效，請輸入 http 或 https 網址！ 9 秒");
      desk.advance(9s);
      continue;
    }
    EXPECT_EQ(captionsAfterConsole(desk), QStringList{c.watched});
    EXPECT_TRUE(std::any_of(desk.navigations().begin(), desk.navigations().end(),
                            [&](const SimNavigation& n) { return n.request.url == c.watched; }));
    const QString& watched = c.watched;
    if (!watched.startsWith("http://")) continue;
    console.urlField.setText(watched.mid(7));
    desk.click(console.urlButton);  // the same page typed bare is already watched
    ASSERT_EQ(desk.boxes().size(), 1u);
    EXPECT_EQ(desk.boxes()[0].texts.front(), "此URL執行中，請查詢運作中的海掛！ 9 秒");
    desk.advance(9s);
  }
}

TEST(SingleLaunch, UpperCasesExceptTheAddressAndRefusesAnEmptyItem) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  console.wharfField.setText("khh1108a");
  console.urlField.setText("http://127.0.0.1:8080" + kBoardPath + "?QSP_ENAME=Ym+Harmony");
  desk.click(console.wharfButton);
  desk.click(console.urlButton);
  EXPECT_EQ(
      captionsAfterConsole(desk),
      (QStringList{"KHH1108A", "http://127.0.0.1:8080" + kBoardPath + "?QSP_ENAME=Ym+Harmony"}));

  console.vesselField.setText("");
  desk.click(console.vesselButton);
  EXPECT_EQ(desk.openBoxes().size(), 1u);
  desk.advance(9s);
}

TEST(SingleLaunch, RegistrationLaunchSavesAllFourFieldsAndClosesTheBatchList) {
  SimPortDesktop desk;
  auto& console = startWithOpenBatchList(desk, "01VAAA");
  console.registrationField.setText("01vzzz");
  console.locationField.setText("KHH1080");
  desk.click(console.registrationButton);

  EXPECT_EQ(captionsAfterConsole(desk), QStringList{"01VZZZ"});
  EXPECT_TRUE(console.batchListField.Locked());
  EXPECT_FALSE(console.batchStepButton.Enabled());
  EXPECT_FALSE(console.accountField.Enabled());
  for (const char* key : {"001", "002", "003", "005"}) {
    EXPECT_NE(ReadSetting("setup", key, "none"), "none") << key;
  }
}

TEST(ConsoleCommands, RunningMonitorsReplaceTheBatchListAndAreCounted) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  console.wharfField.setText("1108");
  desk.click(console.wharfButton);
  desk.click(console.imctBcButton);  // a login window is no monitor
  console.vesselField.setText("YM HARMONY");
  desk.click(console.vesselButton);
  desk.click(console.openWindowsButton);
  EXPECT_EQ(console.batchListField.Text(), "1108\r\nYM HARMONY\r\n");
  EXPECT_EQ(console.openWindowCountLabel.Caption(), "2");
}

TEST(ConsoleCommands, ShowAllRaisesTheFlagForThreeSeconds) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  desk.click(console.showAllButton);
  EXPECT_EQ(ReadSetting("setup", "004", ""), "1");
  desk.advance(2999ms);
  EXPECT_EQ(ReadSetting("setup", "004", ""), "1");
  desk.advance(1ms);
  EXPECT_EQ(ReadSetting("setup", "004", ""), "0");
  EXPECT_FALSE(console.showAllResetTimer.Enabled());
}

TEST(BatchList, LockGesturesOpenAndCloseIt) {
  using enum ModifierKeys;
  struct Case {
    const char* story;
    ModifierKeys keys;
    bool open;
  };
  for (Case c : {Case{"Ctrl+Alt", Ctrl | Alt, true}, Case{"Ctrl", Ctrl, false},
                 Case{"Alt", Alt, false}, Case{"Ctrl+Alt+Shift", Ctrl | Alt | Shift, false}}) {
    SCOPED_TRACE(c.story);
    SimPortDesktop desk;
    auto& console = desk.start<ConsoleWindow>();
    console.batchIndexLabel.setCaption("2");
    desk.mouseDown(console.batchListField, Ctrl | Alt);
    console.batchIndexLabel.setCaption("2");
    desk.mouseDown(console.batchListField, c.keys);
    const bool stillOpen = c.keys != Ctrl;
    EXPECT_EQ(console.batchStepButton.Enabled(), stillOpen);
    EXPECT_EQ(console.batchListField.Locked(), !stillOpen);
    EXPECT_EQ(console.batchFilterCheck.Enabled(), stillOpen);
    EXPECT_EQ(console.batchIndexLabel.Caption(), c.keys == (Ctrl | Alt) ? "0" : "2");
  }
}

// The File menu opens the batch list as Ctrl+Alt with a click on it does.
TEST(BatchList, TheFileMenuUnlocksItAsTheGestureDoes) {
  for (bool byMenu : {false, true}) {
    SCOPED_TRACE(byMenu ? "menu" : "gesture");
    SimPortDesktop desk;
    auto& console = desk.start<ConsoleWindow>();
    console.batchIndexLabel.setCaption("2");
    if (byMenu) {
      desk.clickMenu(console.unlockBatchListMenu);
    } else {
      desk.mouseDown(console.batchListField, ModifierKeys::Ctrl | ModifierKeys::Alt);
    }

    EXPECT_TRUE(desk.type(console.batchListField, "01VAAA\r\n"));
    EXPECT_TRUE(console.batchFilterCheck.Enabled());
    EXPECT_EQ(console.batchIndexLabel.Caption(), "0");
    EXPECT_TRUE(desk.click(console.batchStepButton));
    EXPECT_EQ(captionsAfterConsole(desk), QStringList{"01VAAA"});
  }
}

TEST(InputFields, PastedNumberLosesBlanksAndLineBreaksButKeepsItsCase) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  desk.type(console.registrationField, QString(" 01v xx\u00A0x\r\n"));
  EXPECT_EQ(console.registrationField.Text(), "01vxxx");
  console.batchLineField.setText("A B\r\nC");
  EXPECT_EQ(console.batchLineField.Text(), "ABC");
}

TEST(InputFields, FocusSelectsTheWholeText) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  console.wharfField.setText("1108");
  desk.focus(console.wharfField);
  EXPECT_EQ(console.wharfField.SelStart(), 0);
  EXPECT_EQ(console.wharfField.SelLength(), 4);
}
