#include <algorithm>

#include <QRegularExpression>

#include "common/remote_notifier.h"
#include "console/settings_window.h"
#include "platform/desktop.h"
#include "platform/remote_delivery.h"

namespace tidex {
namespace {

constexpr DeliveryTarget::Kind kKinds[] = {
    DeliveryTarget::Kind::Email, DeliveryTarget::Kind::Webhook, DeliveryTarget::Kind::Apprise};

QString eventsText(const RemoteTarget& target) {
  QStringList labels;
  for (const RemoteEventGroup group : target.events) labels << GroupLabel(group);
  return labels.join(QStringLiteral("、"));
}

}  // namespace

void SettingsWindow::loadTargets() {
  targets_ = ReadRemoteTargets();
  const bool apprise = Desktop::current().remoteDelivery().appriseAvailable();
  std::vector<QStringList> rows;
  for (const RemoteTarget& target : targets_) {
    const bool isApprise = target.delivery.kind == DeliveryTarget::Kind::Apprise;
    // An Apprise address holds its token: the list shows only its scheme.
    const QString address =
        isApprise
            ? target.delivery.address.section(QStringLiteral("://"), 0, 0) + QStringLiteral("://…")
            : target.delivery.address;
    rows.push_back(
        {target.name, KindLabel(target.delivery.kind), address, eventsText(target),
         isApprise && !apprise ? QStringLiteral("未安裝 apprise 指令") : QStringLiteral("可用")});
  }
  targetList.setRows(std::move(rows));
  secretStorageLabel.setCaption(
      QStringLiteral("密碼與權杖以編碼方式存於 Tidex.ini（與 IMCT 帳號相同），不寫入紀錄。"));
  appriseLabel.setCaption(apprise ? QStringLiteral("Apprise：已安裝 apprise 指令。")
                                  : QStringLiteral("Apprise：未安裝 apprise 指令，Apprise "
                                                   "對象無法傳送（請安裝 apprise 套件）。"));
  secretStorageLabel.setAccessibleName(secretStorageLabel.Caption());
  appriseLabel.setAccessibleName(appriseLabel.Caption());
}

void SettingsWindow::targetChosen() {
  const int index = targetList.ListIndex();
  if (index < 0 || index >= static_cast<int>(targets_.size())) return;
  showTarget(targets_[index]);
}

void SettingsWindow::showTarget(const RemoteTarget& target) {
  const DeliveryTarget& d = target.delivery;
  targetNameField.setText(target.name);
  targetKindBox.setListIndex(
      static_cast<int>(std::find(std::begin(kKinds), std::end(kKinds), d.kind) - kKinds));
  targetAddressField.setText(d.address);
  targetUserField.setText(d.user);
  targetSecretField.setText(d.kind == DeliveryTarget::Kind::Apprise ? QString() : d.secret);
  targetSenderField.setText(d.sender);
  targetRecipientsField.setText(d.recipients.join(QStringLiteral("; ")));
  startTlsCheck.setValue(d.startTls ? 1 : 0);
  QStringList headers;
  for (const auto& [name, value] : d.headers) headers << name + QStringLiteral(": ") + value;
  targetHeadersField.setText(headers.join(QStringLiteral("\r\n")));
  alertEventCheck.setValue(target.events.contains(RemoteEventGroup::Alert));
  findingEventCheck.setValue(target.events.contains(RemoteEventGroup::Finding));
  blindEventCheck.setValue(target.events.contains(RemoteEventGroup::Blind));
  engineEventCheck.setValue(target.events.contains(RemoteEventGroup::Engine));
  loginEventCheck.setValue(target.events.contains(RemoteEventGroup::Login));
  quietPeriodField.setText(target.quiet ? target.quiet->text() : QString());
  quietAlertsOnlyCheck.setValue(
      target.quiet && target.quiet->groups == std::set<RemoteEventGroup>{RemoteEventGroup::Alert});
}

RemoteTarget SettingsWindow::targetInFields() const {
  RemoteTarget target;
  target.name = targetNameField.Text().trimmed();
  DeliveryTarget& d = target.delivery;
  d.kind = kKinds[std::clamp(targetKindBox.ListIndex(), 0, 2)];
  d.address = targetAddressField.Text().trimmed();
  d.user = targetUserField.Text().trimmed();
  d.secret = targetSecretField.Text();
  d.sender = targetSenderField.Text().trimmed();
  for (const QString& to : targetRecipientsField.Text().split(
           QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts)) {
    if (!to.trimmed().isEmpty()) d.recipients << to.trimmed();
  }
  d.startTls = startTlsCheck.Value() == 1;
  for (const QString& line : targetHeadersField.Text().split(
           QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts)) {
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    // A line without a colon has no name: the check refuses it.
    if (colon < 0) {
      d.headers.append({QString(), line.trimmed()});
    } else {
      d.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
  }
  const std::pair<const CheckBox*, RemoteEventGroup> events[] = {
      {&alertEventCheck, RemoteEventGroup::Alert},
      {&findingEventCheck, RemoteEventGroup::Finding},
      {&blindEventCheck, RemoteEventGroup::Blind},
      {&engineEventCheck, RemoteEventGroup::Engine},
      {&loginEventCheck, RemoteEventGroup::Login}};
  for (const auto& [check, group] : events) {
    if (check->Value() == 1) target.events.insert(group);
  }
  target.quiet = QuietPeriod::parse(quietPeriodField.Text());
  if (target.quiet && quietAlertsOnlyCheck.Value() == 1) {
    target.quiet->groups = {RemoteEventGroup::Alert};
  }
  return target;
}

void SettingsWindow::saveTarget() {
  const RemoteTarget target = targetInFields();
  if (const auto problem = CheckRemoteTarget(target)) return say(*problem);
  if (!quietPeriodField.Text().trimmed().isEmpty() && !target.quiet) {
    return say(QStringLiteral("安靜時段須如 22:00-07:00。"));
  }
  if (!WriteRemoteTarget(target)) return say(QStringLiteral("無法寫入 Tidex.ini，對象未儲存。"));
  notifier_.reloadTargets();
  loadTargets();
  say(QStringLiteral("通知對象「%1」已儲存。").arg(target.name));
}

void SettingsWindow::removeTarget() {
  const QString name = targetNameField.Text().trimmed();
  const bool listed = std::any_of(targets_.begin(), targets_.end(),
                                  [&](const RemoteTarget& t) { return t.name == name; });
  if (!listed) return say(QStringLiteral("請先在清單中選擇要刪除的通知對象。"));
  if (!RemoveRemoteTarget(name)) return say(QStringLiteral("無法寫入 Tidex.ini，對象未刪除。"));
  notifier_.reloadTargets();
  loadTargets();
  say(QStringLiteral("通知對象「%1」已刪除。").arg(name));
}

void SettingsWindow::testTarget() {
  const RemoteTarget target = targetInFields();
  if (const auto problem = CheckRemoteTarget(target)) return say(*problem);
  say(QStringLiteral("測試中：正在傳送測試通知給「%1」…").arg(target.name));
  test_ = notifier_.sendTest(target, [this, name = target.name](const DeliveryOutcome& outcome) {
    Desktop::current().post([keep = std::shared_ptr<QueuedCall>(std::move(test_))] {});
    say(outcome.delivered ? QStringLiteral("測試成功：「%1」已收下測試通知。").arg(name)
                          : QStringLiteral("測試失敗：「%1」%2").arg(name, outcome.detail));
  });
}

}  // namespace tidex
