#include <algorithm>

#include <QRegularExpression>

#include "common/remote/remote_notifier.h"
#include "common/settings/settings.h"
#include "console/settings_window.h"
#include "platform/desktop.h"
#include "platform/remote_delivery.h"
#include "platform/secret_keeper.h"

namespace tidex {
namespace {

constexpr DeliveryTarget::Kind kKinds[] = {
    DeliveryTarget::Kind::Email, DeliveryTarget::Kind::Webhook, DeliveryTarget::Kind::Apprise,
    DeliveryTarget::Kind::Heartbeat};
constexpr int kLastKind = static_cast<int>(std::size(kKinds)) - 1;

const QString kSecretsNote =
    QStringLiteral("密碼與權杖存於桌面金鑰圈，沒有時編碼存於僅您可讀的 Tidex.ini。");

QString addressShown(const RemoteTarget& target) {
  const DeliveryTarget& d = target.delivery;
  if (!target.secretKnown && d.kind != DeliveryTarget::Kind::Email) {
    return QStringLiteral("（存於金鑰圈）");
  }
  // An Apprise or heartbeat address holds its token: the list shows only its scheme.
  if (target.addressIsSecret()) {
    return d.address.section(QStringLiteral("://"), 0, 0) + QStringLiteral("://…");
  }
  return d.address;
}

// What it is told of; a heartbeat is told of nothing, only pinged.
QString eventsText(const RemoteTarget& target) {
  if (target.delivery.kind == DeliveryTarget::Kind::Heartbeat) {
    return QStringLiteral("每 %1 分鐘心跳").arg(target.everyMinutes);
  }
  QStringList labels;
  for (const RemoteEventGroup group : target.events) labels << GroupLabel(group);
  return labels.join(QStringLiteral("、"));
}

}  // namespace

// The targets as the notifier uses them: their secrets as read from the keyring, and why one
// is not used.
void SettingsWindow::loadTargets() {
  targets_ = notifier_.targets();
  const bool apprise = Desktop::current().remoteDelivery().appriseAvailable();
  std::vector<QStringList> rows;
  for (const RemoteTarget& target : targets_) {
    // Its last outcome, or whether it can be used at all.
    QString state = notifier_.outcomeOf(target.name);
    if (state.isEmpty() && !target.secretKnown) state = QStringLiteral("讀取金鑰圈中…");
    if (state.isEmpty() && target.delivery.kind == DeliveryTarget::Kind::Apprise && !apprise) {
      state = QStringLiteral("未安裝 apprise 指令");
    }
    if (state.isEmpty()) state = QStringLiteral("可用");
    rows.push_back({target.name, KindLabel(target.delivery.kind), addressShown(target),
                    eventsText(target), state});
  }
  if (rows == targetList.Rows()) return;
  const int selected = targetList.ListIndex();
  targetList.setRows(std::move(rows));
  if (selected >= 0 && selected < static_cast<int>(targets_.size())) {
    targetList.setListIndex(selected);
  }
  secretStorageLabel.setCaption(kSecretsNote);
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
  kindChosen();
  targetAddressField.setText(d.address);
  targetUserField.setText(d.user);
  // Never shown, so that it never passes to another target made from this one: left empty, the
  // kept one stays.
  targetSecretField.setText(QString());
  targetSenderField.setText(d.sender);
  targetRecipientsField.setText(d.recipients.join(QStringLiteral("; ")));
  startTlsCheck.setValue(d.startTls ? 1 : 0);
  certificateField.setText(d.certificateFile);
  QStringList headers;
  for (const auto& [name, value] : d.headers) headers << name + QStringLiteral(": ") + value;
  targetHeadersField.setText(headers.join(QStringLiteral("\r\n")));
  alertEventCheck.setValue(target.events.contains(RemoteEventGroup::Alert));
  findingEventCheck.setValue(target.events.contains(RemoteEventGroup::Finding));
  blindEventCheck.setValue(target.events.contains(RemoteEventGroup::Blind));
  engineEventCheck.setValue(target.events.contains(RemoteEventGroup::Engine));
  loginEventCheck.setValue(target.events.contains(RemoteEventGroup::Login));
  deliveryEventCheck.setValue(target.events.contains(RemoteEventGroup::Delivery));
  programEventCheck.setValue(target.events.contains(RemoteEventGroup::Program));
  summaryField.setText(target.summary);
  if (d.kind == DeliveryTarget::Kind::Heartbeat) {
    heartbeatEveryField.setText(QString::number(target.everyMinutes));
    failSuffixField.setText(target.failSuffix);
  }
  quietPeriodField.setText(target.quiet ? target.quiet->text() : QString());
  quietAlertsOnlyCheck.setValue(
      target.quiet && target.quiet->groups == std::set<RemoteEventGroup>{RemoteEventGroup::Alert});
}

void SettingsWindow::kindChosen() {
  const DeliveryTarget::Kind kind = kKinds[std::clamp(targetKindBox.ListIndex(), 0, kLastKind)];
  const bool mail = kind == DeliveryTarget::Kind::Email;
  const bool webhook = kind == DeliveryTarget::Kind::Webhook;
  const bool heartbeat = kind == DeliveryTarget::Kind::Heartbeat;
  const std::pair<TextBox*, bool> fields[] = {
      {&targetUserField, mail},          {&targetSecretField, mail || webhook},
      {&targetSenderField, mail},        {&targetRecipientsField, mail},
      {&certificateField, mail},         {&targetHeadersField, webhook},
      {&heartbeatEveryField, heartbeat}, {&failSuffixField, heartbeat},
      {&summaryField, !heartbeat},       {&quietPeriodField, !heartbeat}};
  for (const auto& [field, applies] : fields) {
    if (!applies) field->setText(QString());
    field->setEnabled(applies);
  }
  if (heartbeat && heartbeatEveryField.Text().isEmpty()) {
    heartbeatEveryField.setText(QStringLiteral("5"));
  }
  if (!mail) startTlsCheck.setValue(0);
  startTlsCheck.setEnabled(mail);
  // A heartbeat is pinged, never told of events.
  for (CheckBox* check :
       {&alertEventCheck, &findingEventCheck, &blindEventCheck, &engineEventCheck, &loginEventCheck,
        &deliveryEventCheck, &programEventCheck, &quietAlertsOnlyCheck}) {
    check->setEnabled(!heartbeat);
  }
}

RemoteTarget SettingsWindow::targetInFields() const {
  RemoteTarget target;
  target.name = targetNameField.Text().trimmed();
  DeliveryTarget& d = target.delivery;
  d.kind = kKinds[std::clamp(targetKindBox.ListIndex(), 0, kLastKind)];
  target.summary = summaryField.Text().trimmed();
  if (d.kind == DeliveryTarget::Kind::Heartbeat) {
    const QString every = heartbeatEveryField.Text().trimmed();
    // Not a number is 0, which the check refuses.
    target.everyMinutes = every.isEmpty() ? 5 : every.toInt();
    target.failSuffix = failSuffixField.Text().trimmed();
  }
  d.address = targetAddressField.Text().trimmed();
  d.user = targetUserField.Text().trimmed();
  d.secret = targetSecretField.Text();
  d.sender = targetSenderField.Text().trimmed();
  for (const QString& to : targetRecipientsField.Text().split(
           QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts)) {
    if (!to.trimmed().isEmpty()) d.recipients << to.trimmed();
  }
  d.startTls = startTlsCheck.Value() == 1;
  d.certificateFile = certificateField.Text().trimmed();
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
      {&loginEventCheck, RemoteEventGroup::Login},
      {&deliveryEventCheck, RemoteEventGroup::Delivery},
      {&programEventCheck, RemoteEventGroup::Program}};
  for (const auto& [check, group] : events) {
    if (check->Value() == 1) target.events.insert(group);
  }
  target.quiet = QuietPeriod::parse(quietPeriodField.Text());
  if (target.quiet && quietAlertsOnlyCheck.Value() == 1) {
    target.quiet->groups = {RemoteEventGroup::Alert};
  }
  return target;
}

// The target in the fields, its secret left empty taken from the one kept for it under the same
// name and kind, never from another.
std::optional<RemoteTarget> SettingsWindow::targetToKeep() {
  RemoteTarget target = targetInFields();
  const auto kept = std::find_if(notifier_.targets().begin(), notifier_.targets().end(),
                                 [&](const RemoteTarget& t) { return t.name == target.name; });
  if (target.secret().isEmpty() && kept != notifier_.targets().end() &&
      kept->delivery.kind == target.delivery.kind) {
    if (!kept->secretKnown) {
      // Saving now would replace the kept secret with nothing.
      notifier_.reloadTargets();
      say(QStringLiteral("桌面金鑰圈尚未回應，無法取得「%1」原本的密碼或權杖，對象未儲存；"
                         "請稍後再試，或重新輸入密碼或權杖。")
              .arg(target.name));
      return std::nullopt;
    }
    target.setSecret(kept->secret());
  }
  if (const auto problem = CheckRemoteTarget(target)) {
    say(*problem);
    return std::nullopt;
  }
  if (!quietPeriodField.Text().trimmed().isEmpty() && !target.quiet) {
    say(QStringLiteral("安靜時段須如 22:00-07:00。"));
    return std::nullopt;
  }
  return target;
}

void SettingsWindow::saveTarget() {
  const std::optional<RemoteTarget> target = targetToKeep();
  if (!target) return;
  if (target->keptSecret().isEmpty()) return targetSaved(*target, false);
  say(QStringLiteral("儲存中…"));
  keyringCall_ = Desktop::current().secrets().store(
      SecretKey(target->name), target->keptSecret(),
      [this, kept = *target](bool inKeyring) { targetSaved(kept, inKeyring); });
}

void SettingsWindow::targetSaved(RemoteTarget target, bool inKeyring) {
  if (keyringCall_) {
    Desktop::current().post([keep = std::shared_ptr<QueuedCall>(std::move(keyringCall_))] {});
  }
  target.secretInKeyring = inKeyring;
  if (!inKeyring && !FitsSettingsFile(target.keptSecret())) {
    return say(
        QStringLiteral("找不到桌面金鑰圈，而密碼、權杖、位址或標頭含有 Tidex.ini "
                       "無法保存的字元，對象未儲存；請只用繁體中文（Big5）可表示的字元。"));
  }
  if (!WriteRemoteTarget(target)) return say(QStringLiteral("無法寫入 Tidex.ini，對象未儲存。"));
  notifier_.reloadTargets(target);
  loadTargets();
  QString where;
  if (inKeyring) {
    where = QStringLiteral("密碼或權杖存於桌面金鑰圈。");
  } else if (!target.keptSecret().isEmpty()) {
    where = QStringLiteral("找不到桌面金鑰圈：密碼或權杖以編碼方式存於只有您能讀取的 Tidex.ini。");
  }
  secretStorageLabel.setCaption(where.isEmpty() ? kSecretsNote : where);
  secretStorageLabel.setAccessibleName(secretStorageLabel.Caption());
  say(QStringLiteral("通知對象「%1」已儲存。").arg(target.name) + where);
}

void SettingsWindow::removeTarget() {
  const QString name = targetNameField.Text().trimmed();
  const auto listed = std::find_if(targets_.begin(), targets_.end(),
                                   [&](const RemoteTarget& t) { return t.name == name; });
  if (listed == targets_.end()) return say(QStringLiteral("請先在清單中選擇要刪除的通知對象。"));
  if (!RemoveRemoteTarget(name)) return say(QStringLiteral("無法寫入 Tidex.ini，對象未刪除。"));
  if (listed->secretInKeyring) {
    keyringCall_ = Desktop::current().secrets().remove(SecretKey(name), [](bool) {});
  }
  notifier_.reloadTargets();
  loadTargets();
  say(QStringLiteral("通知對象「%1」已刪除。").arg(name));
}

void SettingsWindow::testTarget() {
  const std::optional<RemoteTarget> target = targetToKeep();
  if (!target) return;
  say(QStringLiteral("測試中：正在傳送測試通知給「%1」…").arg(target->name));
  test_ = notifier_.sendTest(*target, [this, name = target->name](const DeliveryOutcome& outcome) {
    Desktop::current().post([keep = std::shared_ptr<QueuedCall>(std::move(test_))] {});
    say(outcome.delivered
            ? QStringLiteral("測試成功：「%1」已收下測試通知。").arg(name)
            : QStringLiteral("測試失敗：「%1」%2").arg(name, FailureSentence(outcome)));
  });
}

}  // namespace tidex
