// The user's passwords and tokens are kept as an office's IT would accept: files for their owner
// alone, no secret sent in clear, a hand-edited target checked as the settings window checks it,
// and a keyring that does not answer never costs a kept secret.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "test_printers.h"

#include "common/remote/remote_targets.h"
#include "console/monitor_status_window.h"
#include "console/settings_window.h"
#include "scenario/journal_rows.h"
#include "sites/board_service.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                             QFileDevice::ReadOther | QFileDevice::WriteOther;

bool ownersAlone(const QString& path) {
  return QFileInfo::exists(path) && !(QFileInfo(path).permissions() & kOthers);
}

QByteArray settingsText() {
  QFile file(settingsFilePath());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void appendToSettings(const QByteArray& lines) {
  QFile file(settingsFilePath());
  ASSERT_TRUE(file.open(QIODevice::Append));
  file.write(lines);
}

SettingsWindow& openSettings(SimDesktop& desk) {
  desk.trayDoubleClick();
  desk.clickMenu(consoleOf(desk).settingsMenu);
  return windowCaptioned<SettingsWindow>(desk, SettingsWindow::WindowCaption());
}

void raiseAlert(SimPortDesktop& desk) {
  BoardMonitor& wharf = watchWharf(desk);
  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
  desk.advance(66s);
  ASSERT_TRUE(wharf.isAlerting());
  desk.clickMenu(wharf.stopBeepMenu);
}

// A mailbox kept in the keyring, written as the settings window writes it.
void keepMailboxInKeyring(SimDesktop& desk) {
  RemoteTarget phone;
  phone.name = QStringLiteral("phone");
  phone.delivery = {DeliveryTarget::Kind::Email,
                    QStringLiteral("smtps://mail.harbour.test:465"),
                    "duty",
                    "S3cret!",
                    "tidex@harbour.test",
                    {"duty@harbour.test"},
                    false,
                    {},
                    {}};
  phone.events = {RemoteEventGroup::Alert};
  phone.secretInKeyring = true;
  ASSERT_TRUE(WriteRemoteTarget(phone));
  desk.keyring().store(SecretKey("phone"), "S3cret!", [](bool) {});
}

}  // namespace

// Targets edited by hand: those that would send a secret in clear or are no mail or web address
// are not used, each said once in the journal and shown in 監看狀態; the others deliver.
TEST(SecretKeeping, HandEditedTargetsThatWouldSendASecretInClearAreNotUsedAndSaidOnce) {
  SimPortDesktop desk;
  const QByteArray token = EncodeText("T0KEN").toLatin1();
  appendToSettings(
      "[notify]\r\nplainmail=email\r\nfilemail=email\r\nplainhook=webhook\r\nbare=webhook\r\n"
      "relay=webhook\r\nsafemail=email\r\n"
      "[notify plainmail]\r\naddress=smtp://mail.harbour.test:25\r\nuser=duty\r\nsecret=" +
      token +
      "\r\nfrom=t@harbour.test\r\nto=d@harbour.test\r\n"
      "[notify filemail]\r\naddress=file:///tmp/tidex-mail\r\nfrom=t@harbour.test\r\n"
      "to=d@harbour.test\r\n"
      "[notify plainhook]\r\naddress=http://hooks.harbour.test/x\r\nsecret=" +
      token +
      "\r\n"
      "[notify bare]\r\naddress=hooks.harbour.test/x\r\n"
      "[notify relay]\r\naddress=http://127.0.0.1:9000/relay\r\nsecret=" +
      token +
      "\r\n"
      "[notify safemail]\r\naddress=smtp://mail.harbour.test:587\r\nstarttls=1\r\nuser=duty\r\n"
      "secret=" +
      token + "\r\nfrom=t@harbour.test\r\nto=d@harbour.test\r\n");
  raiseAlert(desk);
  ConsoleWindow& console = consoleOf(desk);
  consoleOf(desk).remoteNotifier().reloadTargets();  // as after a save in the settings window
  desk.advance(1min);

  QStringList tried;
  for (const SimDelivery& sent : desk.delivery().tries()) tried << sent.target.address;
  tried.removeDuplicates();
  EXPECT_EQ(tried, (QStringList{"http://127.0.0.1:9000/relay", "smtp://mail.harbour.test:587"}));

  QStringList said;
  for (const auto& row : journalRowsOf(desk, journal::event::kTargetUnusable)) said << row.caption;
  EXPECT_EQ(said, (QStringList{"plainmail", "filemail", "plainhook", "bare"})) << "once each";

  console.openStatusWindow();
  const auto rows = windowCaptioned<MonitorStatusWindow>(desk, MonitorStatusWindow::WindowCaption())
                        .statusList.Rows();
  ASSERT_GE(rows.size(), 4u);
  const QStringList plainMail = rows[rows.size() - 4];
  EXPECT_EQ(plainMail.value(0), "plainmail");
  EXPECT_TRUE(plainMail.value(2).contains("明文")) << plainMail.value(2).toStdString();
  EXPECT_TRUE(rows.back().value(2).contains("http://")) << rows.back().value(2).toStdString();
}

// The keyring is still locked when the program starts: nothing is sent without the secret, a
// save in the settings window cannot blank it, and once the keyring answers the alert goes out
// with it.
TEST(SecretKeeping, AKeyringThatDoesNotAnswerLosesNothing) {
  SimPortDesktop desk;
  keepMailboxInKeyring(desk);
  desk.keyring().setAvailable(false);
  raiseAlert(desk);
  desk.advance(1min);
  EXPECT_TRUE(desk.delivery().tries().empty()) << "never sent without its password";

  SettingsWindow& settings = openSettings(desk);
  ASSERT_EQ(settings.targetList.Rows().size(), 1u);
  EXPECT_TRUE(settings.targetList.Rows()[0].value(4).contains("金鑰圈沒有回應"));
  desk.select(settings.targetList, 0);
  EXPECT_EQ(settings.targetSecretField.Text(), "");
  settings.findingEventCheck.setValue(1);
  desk.click(settings.saveTargetButton);
  desk.advance(1s);
  EXPECT_TRUE(settings.statusLabel.Caption().contains("金鑰圈尚未回應"))
      << settings.statusLabel.Caption().toStdString();
  EXPECT_TRUE(settingsText().contains("keyring=1"));

  desk.keyring().setAvailable(true);
  desk.advance(5min);
  ASSERT_FALSE(desk.delivery().tries().empty());
  EXPECT_EQ(desk.delivery().tries().back().target.secret, "S3cret!");
  EXPECT_EQ(desk.delivery().accepted("smtps://mail.harbour.test:465").size(), 1u);
}

// A new target made by changing the name and kind of one shown: the shown one's token never
// becomes the new one's password, and the secret field never shows it.
TEST(SecretKeeping, ANewTargetMadeFromAnotherNeverTakesItsSecret) {
  SimPortDesktop desk;
  startConsole(desk);
  SettingsWindow& settings = openSettings(desk);
  desk.type(settings.targetNameField, "hook");
  ASSERT_TRUE(desk.choose(settings.targetKindBox, "Webhook"));
  desk.type(settings.targetAddressField, "https://hooks.harbour.test/tidex");
  desk.type(settings.targetHeadersField, "X-Api-Key: K3Y");
  typeAndClick(desk, settings.targetSecretField, "T0KEN", settings.saveTargetButton);
  desk.advance(1s);
  EXPECT_FALSE(settingsText().contains("hooks.harbour.test")) << "the address holds a token";
  EXPECT_FALSE(settingsText().contains("K3Y"));

  desk.select(settings.targetList, 0);
  EXPECT_EQ(settings.targetSecretField.Text(), "");
  EXPECT_EQ(settings.targetAddressField.Text(), "https://hooks.harbour.test/tidex");
  EXPECT_FALSE(settings.targetSenderField.Enabled()) << "no sender for a webhook";
  desk.type(settings.targetNameField, "mailbox");
  ASSERT_TRUE(desk.choose(settings.targetKindBox, "電子郵件"));
  EXPECT_EQ(settings.targetHeadersField.Text(), "") << "headers are no mail's";
  EXPECT_FALSE(settings.targetHeadersField.Enabled());
  desk.type(settings.targetAddressField, "smtps://mail.harbour.test:465");
  desk.type(settings.targetSenderField, "tidex@harbour.test");
  typeAndClick(desk, settings.targetRecipientsField, QStringLiteral("值班@harbour.test"),
               settings.saveTargetButton);
  EXPECT_TRUE(settings.statusLabel.Caption().contains("只接受英數字位址"));
  typeAndClick(desk, settings.targetRecipientsField, "duty@harbour.test",
               settings.testTargetButton);
  desk.advance(1s);
  ASSERT_FALSE(desk.delivery().tries().empty());
  EXPECT_EQ(desk.delivery().tries().back().target.secret, "");
}

// Tidex.ini and the journal are made for their owner alone; a file others could read is made so
// once a secret goes in; a removed target leaves nothing; a secret the file cannot hold as typed
// is refused, never stored as '?'.
TEST(SecretKeeping, TheFilesAreTheOwnersAloneAndASecretIsStoredAsTypedOrRefused) {
  QTemporaryDir home;
  {
    SimPortDesktop desk{"2026-12-08 10:00:00", home.path()};
    desk.keyring().setAvailable(false);
    raiseAlert(desk);
    EXPECT_TRUE(ownersAlone(settingsFilePath()));
    EXPECT_TRUE(ownersAlone(home.filePath("Tidex-journal.db")));
  }
  QFile::setPermissions(home.filePath("Tidex.ini"),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
  SimPortDesktop desk{"2026-12-08 11:00:00", home.path()};
  desk.keyring().setAvailable(false);
  startConsole(desk);
  SettingsWindow& settings = openSettings(desk);

  typeAndClick(desk, settings.passwordField, QStringLiteral("pass测"), settings.saveServersButton);
  EXPECT_TRUE(settings.statusLabel.Caption().contains("無法保存的字元"));
  EXPECT_FALSE(ownersAlone(settingsFilePath())) << "nothing written";
  typeAndClick(desk, settings.passwordField, QStringLiteral("pass碼"), settings.saveServersButton);
  EXPECT_TRUE(ownersAlone(settingsFilePath()));
  EXPECT_EQ(DecodeText(ReadSetting("setup", "002", "")), QStringLiteral("pass碼"));

  desk.type(settings.targetNameField, "hook");
  ASSERT_TRUE(desk.choose(settings.targetKindBox, "Webhook"));
  desk.type(settings.targetAddressField, "https://hooks.harbour.test/tidex");
  typeAndClick(desk, settings.targetSecretField, QStringLiteral("权杖"), settings.saveTargetButton);
  desk.advance(1s);
  EXPECT_TRUE(settings.statusLabel.Caption().contains("無法保存的字元"))
      << settings.statusLabel.Caption().toStdString();
  EXPECT_TRUE(settings.targetList.Rows().empty());
  typeAndClick(desk, settings.targetSecretField, QStringLiteral("權杖"), settings.saveTargetButton);
  desk.advance(1s);
  ASSERT_EQ(settings.targetList.Rows().size(), 1u);
  desk.select(settings.targetList, 0);
  desk.click(settings.removeTargetButton);
  desk.advance(1s);
  EXPECT_FALSE(settingsText().contains("hook"));
}
