// The user changes the settings in "設定" while monitors run: bad input is refused with a
// sentence, good input is in Tidex.ini and in effect at once, without a restart.
#include <gtest/gtest.h>

#include <QFile>

#include "test_printers.h"

#include "console/settings_window.h"
#include "scenario/journal_rows.h"
#include "sites/board_service.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

SettingsWindow& openSettings(SimDesktop& desk) {
  desk.trayDoubleClick();
  desk.clickMenu(
      windowCaptioned<ConsoleWindow>(desk, ConsoleWindow::ConsoleCaption()).settingsMenu);
  return windowCaptioned<SettingsWindow>(desk, SettingsWindow::WindowCaption());
}

QByteArray settingsFile() {
  QFile file(settingsFilePath());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(SettingsWindow, APilotAddedThereIsKnownToARunningMonitorAtItsNextComparison) {
  SimPortDesktop desk;
  BoardMonitor& wharf = watchWharf(desk);
  WriteSetting("pilots", "0088", "");  // not known when the monitor took its baseline
  SettingsWindow& settings = openSettings(desk);
  EXPECT_EQ(settings.pilotNumberField.accessibleName(), "引航員號碼");

  typeAndClick(desk, settings.pilotNumberField, "0036", settings.savePilotButton);
  EXPECT_TRUE(settings.statusLabel.Caption().contains("0041 至 0090"));
  typeAndClick(desk, settings.pilotNumberField, "0088", settings.savePilotButton);
  EXPECT_EQ(settings.statusLabel.Caption(), "請填引航員姓名。");
  const QString name = sites::PilotName("0088");  // as the board shows it
  typeAndClick(desk, settings.pilotNameField, name, settings.savePilotButton);
  EXPECT_EQ(ReadSetting("pilots", "0088", ""), name);
  EXPECT_TRUE(std::ranges::count(settings.pilotList.Rows(), QStringList{"0088", name}));

  ASSERT_TRUE(desk.sites().board().assignPilot("1108", "YM HARMONY", "0088"));
  desk.advance(61s + 5s);
  EXPECT_FALSE(wharf.isAlerting()) << "a pilot now known is no change";
  EXPECT_TRUE(journalRowsOf(desk, journal::event::kAlert).empty());
}

TEST(SettingsWindow, AServerAddressAndATargetChangedThereServeWhatOpensOrHappensNext) {
  SimPortDesktop desk;
  startConsole(desk);
  SettingsWindow& settings = openSettings(desk);

  typeAndClick(desk, settings.boardServerField, "board.harbour.test", settings.saveServersButton);
  EXPECT_EQ(settings.statusLabel.Caption(),
            "「看板伺服器」不是 http:// 或 https:// 位址（例如 http://10.0.0.5:8080）。");
  EXPECT_NE(ServerAddress("board"), "http://board.harbour.test");
  typeAndClick(desk, settings.boardServerField, "http://board.harbour.test/",
               settings.saveServersButton);
  EXPECT_EQ(ServerAddress("board"), "http://board.harbour.test");

  desk.type(settings.targetNameField, "hook");
  EXPECT_TRUE(desk.choose(settings.targetKindBox, "Webhook"));
  typeAndClick(desk, settings.targetAddressField, "ftp://hooks.test", settings.saveTargetButton);
  EXPECT_EQ(settings.statusLabel.Caption(), "Webhook 位址須為 http:// 或 https:// 位址。");
  desk.type(settings.targetAddressField, "http://hooks.test/tidex");
  typeAndClick(desk, settings.quietPeriodField, "25:00-07:00", settings.saveTargetButton);
  desk.advance(1s);
  EXPECT_EQ(settings.statusLabel.Caption(), "安靜時段須如 22:00-07:00。");
  EXPECT_TRUE(settings.targetList.Rows().empty());
  EXPECT_FALSE(settingsFile().contains("[notify hook]")) << "a refused target is not written";
  desk.type(settings.quietPeriodField, "");
  desk.click(settings.testTargetButton);
  desk.advance(1s);
  EXPECT_EQ(settings.statusLabel.Caption(), "測試成功：「hook」已收下測試通知。");
  desk.click(settings.saveTargetButton);
  desk.advance(1s);  // the keyring takes its address
  ASSERT_EQ(settings.targetList.Rows().size(), 1u);
  EXPECT_EQ(settings.targetList.Rows()[0].value(4), "可用");
  EXPECT_TRUE(settingsFile().contains("[notify hook]"));

  ConsoleWindow& console = windowCaptioned<ConsoleWindow>(desk, ConsoleWindow::ConsoleCaption());
  saveKnownPilots();
  typeAndClick(desk, console.wharfField, "1108", console.wharfButton);
  desk.advance(2s);
  EXPECT_TRUE(desk.navigations().back().request.url.startsWith("http://board.harbour.test/"));
  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
  desk.advance(61s + 5s);
  const auto taken = desk.delivery().accepted("http://hooks.test/tidex");
  ASSERT_EQ(taken.size(), 2u);  // the test, then the alert
  EXPECT_TRUE(taken[1].text.contains("抵港時間 14:30 → 23:45")) << taken[1].text.toStdString();
  desk.clickMenu(windowCaptioned<BoardMonitor>(desk, "1108").stopBeepMenu);
}

// The password typed for a target goes to the desktop's keyring; without one, into Tidex.ini
// encoded as the IMCT account is, and the window says which. Either way the sends have it.
TEST(SettingsWindow, ATargetsPasswordGoesToTheKeyringOrWithoutOneEncodedIntoTidexIni) {
  for (const bool keyring : {true, false}) {
    SCOPED_TRACE(keyring ? "a keyring" : "no keyring");
    SimPortDesktop desk;
    desk.keyring().setAvailable(keyring);
    startConsole(desk);
    SettingsWindow& settings = openSettings(desk);
    desk.type(settings.targetNameField, "phone");  // of the first kind, e-mail
    desk.type(settings.targetAddressField, "smtps://mail.harbour.test:465");
    desk.type(settings.targetUserField, "duty");
    desk.type(settings.targetSecretField, "S3cret!");
    desk.type(settings.targetSenderField, "tidex@harbour.test");
    desk.type(settings.certificateField, "/no/such/relay-ca.pem");
    typeAndClick(desk, settings.targetRecipientsField, "duty@harbour.test",
                 settings.saveTargetButton);
    EXPECT_EQ(settings.statusLabel.Caption(), "無法讀取伺服器憑證檔「/no/such/relay-ca.pem」。");
    EXPECT_TRUE(settings.targetList.Rows().empty()) << "nothing kept with a missing certificate";
    typeAndClick(desk, settings.certificateField, "", settings.saveTargetButton);
    desk.advance(1s);

    const QByteArray ini = settingsFile();
    ASSERT_FALSE(ini.isEmpty());
    EXPECT_FALSE(ini.contains("S3cret!"));
    EXPECT_EQ(ini.contains(EncodeText("S3cret!").toLatin1()), !keyring);
    EXPECT_EQ(desk.keyring().held().contains("notify/phone"), keyring);
    EXPECT_TRUE(
        settings.statusLabel.Caption().contains(keyring ? "存於桌面金鑰圈" : "找不到桌面金鑰圈"))
        << settings.statusLabel.Caption().toStdString();

    desk.type(settings.targetSecretField, "");  // left empty: the kept one stays
    desk.click(settings.testTargetButton);
    desk.advance(1s);
    ASSERT_EQ(desk.delivery().tries().size(), 1u);
    EXPECT_EQ(desk.delivery().tries()[0].target.secret, "S3cret!");
  }
}
