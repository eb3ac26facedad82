#include "console/settings_window.h"

#include <QUrl>

#include "common/console_state.h"
#include "common/remote/remote_notifier.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/text/text_codec.h"
#include "monitors/pilotboard/pilot_name_list.h"
#include "platform/desktop.h"

namespace tidex {
namespace {

constexpr int kRow = 30;

bool isWebAddress(const QString& text) {
  const QUrl url(text.trimmed(), QUrl::StrictMode);
  return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") &&
         !url.host().isEmpty() && url.query().isEmpty() && url.fragment().isEmpty();
}

}  // namespace

QString SettingsWindow::WindowCaption() { return QStringLiteral("設定"); }

SettingsWindow::SettingsWindow(ConsoleState& console, RemoteNotifier& notifier)
    : Form(QStringLiteral("SettingsWindow")), console_(console), notifier_(notifier) {
  setCaption(WindowCaption());
  passwordField.setPasswordChar(QLatin1Char('*'));
  targetSecretField.setPasswordChar(QLatin1Char('*'));
  targetHeadersField.setMultiLine(true);
  for (const auto kind : {DeliveryTarget::Kind::Email, DeliveryTarget::Kind::Webhook,
                          DeliveryTarget::Kind::Apprise, DeliveryTarget::Kind::Heartbeat}) {
    targetKindBox.AddItem(KindLabel(kind));
  }
  targetKindBox.setListIndex(0);
  nameControls();
  Resize(1010, 750);
  layOut();

  saveServersButton.onClick = [this] { saveServersAndAccount(); };
  pilotList.onClick = [this] { pilotChosen(); };
  savePilotButton.onClick = [this] { savePilot(); };
  removePilotButton.onClick = [this] { removePilot(); };
  targetList.onClick = [this] { targetChosen(); };
  saveTargetButton.onClick = [this] { saveTarget(); };
  removeTargetButton.onClick = [this] { removeTarget(); };
  testTargetButton.onClick = [this] { testTarget(); };
  targetKindBox.onClick = [this] { kindChosen(); };
  closeButton.onClick = [this] { Unload(); };
  targetRefreshTimer.onTimer = [this] { loadTargets(); };
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::onLoad() {
  loadServersAndAccount();
  loadPilots();
  loadTargets();
  Show();
}

void SettingsWindow::Refresh() {
  loadPilots();
  loadTargets();
}

// Every field is named by its label, for screen readers as for the eye.
void SettingsWindow::nameControls() {
  const std::pair<Label*, Control*> labelled[] = {
      {&boardServerLabel, &boardServerField},
      {&boardAddressServerLabel, &boardAddressServerField},
      {&customsServerLabel, &customsServerField},
      {&imctServerLabel, &imctServerField},
      {&makerServerLabel, &makerServerField},
      {&accountLabel, &accountField},
      {&passwordLabel, &passwordField},
      {&pilotNumberLabel, &pilotNumberField},
      {&pilotNameLabel, &pilotNameField},
      {&targetNameLabel, &targetNameField},
      {&targetKindLabel, &targetKindBox},
      {&targetAddressLabel, &targetAddressField},
      {&targetUserLabel, &targetUserField},
      {&targetSecretLabel, &targetSecretField},
      {&targetSenderLabel, &targetSenderField},
      {&targetRecipientsLabel, &targetRecipientsField},
      {&certificateLabel, &certificateField},
      {&targetHeadersLabel, &targetHeadersField},
      {&heartbeatEveryLabel, &heartbeatEveryField},
      {&failSuffixLabel, &failSuffixField},
      {&summaryLabel, &summaryField},
      {&quietPeriodLabel, &quietPeriodField},
  };
  for (const auto& [label, field] : labelled) {
    field->setAccessibleName(label->Caption());
    label->setLabelFor(*field);
  }
  pilotList.setAccessibleName(QStringLiteral("已知引航員"));
  targetList.setAccessibleName(QStringLiteral("通知對象"));
}

void SettingsWindow::layOut() {
  const auto row = [](Label& label, Control& field, int left, int top, int labelWidth,
                      int fieldWidth) {
    label.Move(left, top + 4, labelWidth, 20);
    field.Move(left + labelWidth + 6, top, fieldWidth, 26);
  };
  int top = 10;
  for (auto [label, field] : {std::pair<Label*, TextBox*>{&boardServerLabel, &boardServerField},
                              {&boardAddressServerLabel, &boardAddressServerField},
                              {&customsServerLabel, &customsServerField},
                              {&imctServerLabel, &imctServerField},
                              {&makerServerLabel, &makerServerField},
                              {&accountLabel, &accountField},
                              {&passwordLabel, &passwordField}}) {
    row(*label, *field, 10, top, 170, 270);
    top += kRow;
  }
  saveServersButton.Move(186, top, 180, 28);
  top += kRow + 14;
  pilotList.Move(10, top, 446, 250);
  top += 258;
  row(pilotNumberLabel, pilotNumberField, 10, top, 80, 70);
  row(pilotNameLabel, pilotNameField, 176, top, 80, 194);
  top += kRow;
  savePilotButton.Move(96, top, 110, 28);
  removePilotButton.Move(216, top, 110, 28);

  const int left = 476;
  top = 10;
  targetList.Move(left, top, 524, 150);
  top += 158;
  for (auto [label, field] : {std::pair<Label*, Control*>{&targetNameLabel, &targetNameField},
                              {&targetKindLabel, &targetKindBox},
                              {&targetAddressLabel, &targetAddressField},
                              {&targetUserLabel, &targetUserField},
                              {&targetSecretLabel, &targetSecretField},
                              {&targetSenderLabel, &targetSenderField},
                              {&targetRecipientsLabel, &targetRecipientsField}}) {
    row(*label, *field, left, top, 170, 340);
    top += kRow;
  }
  startTlsCheck.Move(left + 176, top, 200, 24);
  top += kRow;
  row(certificateLabel, certificateField, left, top, 170, 340);
  top += kRow;
  targetHeadersLabel.Move(left, top + 4, 170, 20);
  targetHeadersField.Move(left + 176, top, 340, 50);
  top += 56;
  row(heartbeatEveryLabel, heartbeatEveryField, left, top, 170, 60);
  row(failSuffixLabel, failSuffixField, left + 242, top, 150, 120);
  top += kRow;
  alertEventCheck.Move(left, top, 100, 24);
  findingEventCheck.Move(left + 104, top, 100, 24);
  blindEventCheck.Move(left + 208, top, 140, 24);
  top += 26;
  engineEventCheck.Move(left, top, 200, 24);
  loginEventCheck.Move(left + 208, top, 140, 24);
  deliveryEventCheck.Move(left + 352, top, 170, 24);
  top += 26;
  programEventCheck.Move(left, top, 200, 24);
  row(summaryLabel, summaryField, left + 208, top, 180, 80);
  top += kRow;
  row(quietPeriodLabel, quietPeriodField, left, top, 170, 110);
  quietAlertsOnlyCheck.Move(left + 292, top, 220, 24);
  top += kRow;
  saveTargetButton.Move(left + 176, top, 100, 28);
  removeTargetButton.Move(left + 284, top, 100, 28);
  testTargetButton.Move(left + 392, top, 80, 28);
  top += kRow + 4;
  secretStorageLabel.Move(left, top, 524, 20);
  appriseLabel.Move(left, top + 22, 524, 20);

  statusLabel.Move(10, 714, 880, 24);
  closeButton.Move(900, 710, 100, 30);
}

void SettingsWindow::say(const QString& text) {
  statusLabel.setCaption(text);
  statusLabel.setAccessibleName(text);
}

void SettingsWindow::loadServersAndAccount() {
  boardServerField.setText(ServerAddress(settings_keys::kServerBoard));
  boardAddressServerField.setText(ServerAddress(settings_keys::kServerBoardIp));
  customsServerField.setText(ServerAddress(settings_keys::kServerCustoms));
  imctServerField.setText(ServerAddress(settings_keys::kServerImct));
  makerServerField.setText(ServerAddress(settings_keys::kServerMaker));
  accountField.setText(console_.account());
  passwordField.setText(console_.password());
}

void SettingsWindow::saveServersAndAccount() {
  const std::pair<const char*, TextBox*> servers[] = {{"board", &boardServerField},
                                                      {"boardip", &boardAddressServerField},
                                                      {"customs", &customsServerField},
                                                      {"imct", &imctServerField},
                                                      {"maker", &makerServerField}};
  for (const auto& [key, field] : servers) {
    if (!isWebAddress(field->Text())) {
      return say(
          QStringLiteral("「%1」不是 http:// 或 https:// 位址（例如 http://10.0.0.5:8080）。")
              .arg(field->accessibleName()));
    }
  }
  for (const TextBox* field : {&accountField, &passwordField}) {
    if (!FitsSettingsFile(field->Text())) {
      return say(
          QStringLiteral("「%1」含有 Tidex.ini 無法保存的字元，未儲存；請只用繁體中文（Big5）"
                         "可表示的字元。")
              .arg(field->accessibleName()));
    }
  }
  bool written = true;
  for (const auto& [key, field] : servers) {
    QString address = field->Text().trimmed();
    while (address.endsWith(QLatin1Char('/'))) address.chop(1);
    written = written && WriteSetting(settings_keys::kServers, QString::fromLatin1(key), address);
  }
  // As the console keeps its own account fields.
  written =
      written &&
      WriteSecretSetting(settings_keys::kSetup, settings_keys::kAccount, accountField.Text()) &&
      WriteSecretSetting(settings_keys::kSetup, settings_keys::kPassword, passwordField.Text());
  if (!written) return say(QStringLiteral("無法寫入 Tidex.ini，設定未儲存。"));
  console_.setAccount(accountField.Text(), passwordField.Text());
  say(QStringLiteral("伺服器位址與帳號已儲存，下一個開啟的視窗即使用。"));
}

void SettingsWindow::loadPilots() {
  std::vector<QStringList> rows;
  for (const QString& entry : PilotNameList()) rows.push_back({entry.left(4), entry.mid(4)});
  pilotList.setRows(std::move(rows));
}

void SettingsWindow::pilotChosen() {
  const int index = pilotList.ListIndex();
  if (index < 0) return;
  pilotNumberField.setText(pilotList.Rows()[index].value(0));
  pilotNameField.setText(pilotList.Rows()[index].value(1));
}

void SettingsWindow::savePilot() {
  const QString number = pilotNumberField.Text().trimmed();
  const QString name = pilotNameField.Text().trimmed();
  if (!KnownPilotNumbers().contains(number)) {
    return say(QStringLiteral("引航員號碼須為 0035、0037、0039 或 0041 至 0090 的四位數字。"));
  }
  if (name.isEmpty() || name.contains(QLatin1Char(';'))) {
    return say(QStringLiteral("請填引航員姓名。"));
  }
  if (!WriteSetting(settings_keys::kPilots, number, name)) {
    return say(QStringLiteral("無法寫入 Tidex.ini，引航員未儲存。"));
  }
  loadPilots();
  say(QStringLiteral("引航員 %1 %2 已儲存，監看中的視窗下次比對即使用。").arg(number, name));
}

void SettingsWindow::removePilot() {
  const QString number = pilotNumberField.Text().trimmed();
  if (!KnownPilotNumbers().contains(number)) {
    return say(QStringLiteral("請先在清單中選擇要刪除的引航員。"));
  }
  // A number without a name is left out of the list.
  if (!WriteSetting(settings_keys::kPilots, number, QString())) {
    return say(QStringLiteral("無法寫入 Tidex.ini，引航員未刪除。"));
  }
  loadPilots();
  pilotNameField.setText(QString());
  say(QStringLiteral("引航員 %1 已刪除。").arg(number));
}

}  // namespace tidex
