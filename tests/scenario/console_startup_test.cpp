#include <gtest/gtest.h>

#include <QFile>

#include "board_path.h"
#include "common/settings/settings.h"
#include "common/text/text_codec.h"
#include "console/console_fields.h"
#include "console/console_window.h"
#include "sim_port_desktop.h"

using namespace tidex;
using namespace std::chrono_literals;

namespace {

QByteArray settingsBytes(const SimDesktop& desk) {
  QFile f(desk.applicationFolder() + "/Tidex.ini");
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeSettings(const SimDesktop& desk, const QByteArray& bytes) {
  QFile f(desk.applicationFolder() + "/Tidex.ini");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

TEST(ConsoleStartup, StartsHiddenBehindTrayIconWithCaptionAsTip) {
  SimPortDesktop desk{"2026-12-08 10:00:00"};
  auto& console = desk.start<ConsoleWindow>();
  const QString caption = QStringLiteral("准單查詢 %1.%2.%3")
                              .arg(TIDEX_VERSION_MAJOR)
                              .arg(TIDEX_VERSION_MINOR)
                              .arg(TIDEX_VERSION_PATCH);

  EXPECT_FALSE(console.Visible());
  EXPECT_EQ(console.Caption(), caption);
  EXPECT_TRUE(desk.tray().shown);
  EXPECT_EQ(desk.tray().tip, caption);
  EXPECT_TRUE(console.TopMost());
  EXPECT_EQ(console.geometry().left, 0);
  EXPECT_EQ(console.geometry().top, 7);
  EXPECT_EQ(console.activityTimeLabel.Caption(), "2026/12/8 上午 10:00:00");
  EXPECT_FALSE(desk.ended());
}

TEST(ConsoleStartup, FirstRunWritesOnlyTheShowAllFlagAndEmptiesTheSavedFields) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();

  EXPECT_EQ(settingsBytes(desk), QByteArray("[setup]\r\n004=0\r\n"));
  for (TextBox* field : {&console.accountField, &console.passwordField, &console.registrationField,
                         &console.locationField}) {
    EXPECT_EQ(field->Text(), "") << field->Name().toStdString();
  }
}

TEST(ConsoleStartup, SavedFieldsComeBackDecodedAfterRestart) {
  SimPortDesktop desk;
  {
    auto& first = desk.start<ConsoleWindow>();
    first.accountField.setText("agent01");
    first.passwordField.setText("p@ss 密碼");
    first.registrationField.setText("01VXXX");
    first.locationField.setText("KHH1080");
    SaveConsoleFields(first, true);
  }
  auto& second = desk.start<ConsoleWindow>();

  EXPECT_EQ(second.accountField.Text(), "agent01");
  EXPECT_EQ(second.passwordField.Text(), "p@ss 密碼");
  EXPECT_EQ(second.registrationField.Text(), "01VXXX");
  EXPECT_EQ(second.locationField.Text(), "KHH1080");
  EXPECT_EQ(ReadSetting("setup", "001", "?"), EncodeText("agent01"));
}

TEST(ConsoleStartup, BatchSaveLeavesTheLocationKeyAlone) {
  SimPortDesktop desk;
  auto& console = desk.start<ConsoleWindow>();
  console.locationField.setText("KHH9999");
  SaveConsoleFields(console, false);
  EXPECT_EQ(ReadSetting("setup", "005", "missing"), "missing");
  EXPECT_NE(ReadSetting("setup", "001", "missing"), "missing");
}

TEST(ConsoleStartup, ResetsAShowAllFlagLeftByAnInterruptedRun) {
  SimPortDesktop desk;
  writeSettings(desk, "[setup]\r\n004=1\r\n[Touchfiles]\r\n01VXXX=1\r\n");
  desk.start<ConsoleWindow>();
  EXPECT_EQ(settingsBytes(desk), QByteArray("[setup]\r\n004=0\r\n[Touchfiles]\r\n01VXXX=1\r\n"));
}

TEST(ConsoleStartup, GarbageOrUndecodableSettingsGiveEmptyFieldsAndStartGoesOn) {
  SimPortDesktop desk;
  writeSettings(desk, QByteArray("\x00\xff\xfe[setup\r\n001=No Settings\r\n002=??\r\n", 36) +
                          QByteArray(5000, '\x81'));
  auto& console = desk.start<ConsoleWindow>();
  EXPECT_EQ(console.accountField.Text(), "");
  EXPECT_EQ(console.passwordField.Text(), "");
  EXPECT_TRUE(desk.tray().shown);
  EXPECT_EQ(ReadSetting("setup", "004", "?"), "0");
}

TEST(ConsoleStartup, QueryAddressFieldStartsOnTheConfiguredBoard) {
  SimPortDesktop desk;
  WriteSetting("servers", "board", "http://127.0.0.1:9191");
  auto& console = desk.start<ConsoleWindow>();
  EXPECT_EQ(console.urlField.Text(), "http://127.0.0.1:9191" + kBoardPath +
                                         "?QSP_ID=&QSP_ENAME=&QSP_PORT=1108&QSP_PAGID=&"
                                         "SP_CALL=&SEARCH=1&iPage=&OK=?j?M");
}

TEST(ConsoleStartup, ControlsStartAsTheConsoleDefines) {
  SimPortDesktop desk;
  auto& c = desk.start<ConsoleWindow>();
  EXPECT_EQ(c.batchListField.Text(), "01VXXX\r\n01VYYY\r\n");
  EXPECT_TRUE(c.batchListField.Locked());
  EXPECT_EQ(c.passwordField.PasswordChar(), QChar('*'));
  EXPECT_FALSE(c.batchStepButton.Enabled());
  EXPECT_EQ(c.batchFilterCheck.Value(), 1);
  EXPECT_FALSE(c.batchFilterCheck.Enabled());
  EXPECT_EQ(c.hideTrayCheck.Value(), 0);
  EXPECT_TRUE(c.halfHourTimer.Enabled());
  EXPECT_FALSE(c.showAllResetTimer.Enabled());
  EXPECT_FALSE(c.trayMenu.Visible());
  EXPECT_EQ(c.locationField.ToolTipText(), "輸入您要查詢的卸存地。例：KHH1080");
  EXPECT_EQ(c.accountField.accessibleName(), "帳號");
}
