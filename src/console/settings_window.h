#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "common/remote/remote_targets.h"
#include "platform/check_box.h"
#include "platform/combo_box.h"
#include "platform/command_button.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/list_view.h"
#include "platform/text_box.h"
#include "platform/timer.h"

namespace tidex {

class ConsoleState;
class QueuedCall;
class RemoteNotifier;

// "設定": the server addresses, the IMCT account, the known pilots and the remote notification
// targets, written to Tidex.ini as the program writes it and in effect at once: the monitors
// read the servers and pilots from the file afresh, the console's account fields and the
// notifier are updated. Bad input is refused with a sentence in the status line.
class SettingsWindow final : public Form {
 public:
  static QString WindowCaption();

  SettingsWindow(ConsoleState& console, RemoteNotifier& notifier);
  ~SettingsWindow() override;

  Label boardServerLabel{*this, "boardServerLabel", "看板伺服器"};
  TextBox boardServerField{*this, "boardServerField"};
  Label boardAddressServerLabel{*this, "boardAddressServerLabel", "看板伺服器（數字位址）"};
  TextBox boardAddressServerField{*this, "boardAddressServerField"};
  Label customsServerLabel{*this, "customsServerLabel", "海關伺服器"};
  TextBox customsServerField{*this, "customsServerField"};
  Label imctServerLabel{*this, "imctServerLabel", "IMCT 伺服器"};
  TextBox imctServerField{*this, "imctServerField"};
  Label makerServerLabel{*this, "makerServerLabel", "原廠伺服器"};
  TextBox makerServerField{*this, "makerServerField"};
  Label accountLabel{*this, "accountLabel", "IMCT 帳號"};
  TextBox accountField{*this, "accountField"};
  Label passwordLabel{*this, "passwordLabel", "IMCT 密碼"};
  TextBox passwordField{*this, "passwordField"};
  CommandButton saveServersButton{*this, "saveServersButton", "儲存伺服器與帳號"};

  ListView pilotList{*this, "pilotList", {"號碼", "姓名"}};
  Label pilotNumberLabel{*this, "pilotNumberLabel", "引航員號碼"};
  TextBox pilotNumberField{*this, "pilotNumberField"};
  Label pilotNameLabel{*this, "pilotNameLabel", "引航員姓名"};
  TextBox pilotNameField{*this, "pilotNameField"};
  CommandButton savePilotButton{*this, "savePilotButton", "儲存引航員"};
  CommandButton removePilotButton{*this, "removePilotButton", "刪除引航員"};

  ListView targetList{*this, "targetList", {"名稱", "種類", "位址", "事件", "狀態"}};
  Label targetNameLabel{*this, "targetNameLabel", "對象名稱"};
  TextBox targetNameField{*this, "targetNameField"};
  Label targetKindLabel{*this, "targetKindLabel", "對象種類"};
  ComboBox targetKindBox{*this, "targetKindBox"};
  Label targetAddressLabel{*this, "targetAddressLabel", "位址"};
  TextBox targetAddressField{*this, "targetAddressField"};
  Label targetUserLabel{*this, "targetUserLabel", "登入帳號"};
  TextBox targetUserField{*this, "targetUserField"};
  Label targetSecretLabel{*this, "targetSecretLabel", "密碼或權杖（留空不變）"};
  TextBox targetSecretField{*this, "targetSecretField"};
  Label targetSenderLabel{*this, "targetSenderLabel", "寄件者"};
  TextBox targetSenderField{*this, "targetSenderField"};
  Label targetRecipientsLabel{*this, "targetRecipientsLabel", "收件者（以分號分隔）"};
  TextBox targetRecipientsField{*this, "targetRecipientsField"};
  CheckBox startTlsCheck{*this, "startTlsCheck", "使用 STARTTLS", 0};
  Label certificateLabel{*this, "certificateLabel", "伺服器憑證檔（可留空）"};
  TextBox certificateField{*this, "certificateField"};
  Label targetHeadersLabel{*this, "targetHeadersLabel", "標頭（每行「名稱: 值」）"};
  TextBox targetHeadersField{*this, "targetHeadersField"};
  Label heartbeatEveryLabel{*this, "heartbeatEveryLabel", "心跳間隔（分鐘）"};
  TextBox heartbeatEveryField{*this, "heartbeatEveryField"};
  Label failSuffixLabel{*this, "failSuffixLabel", "異常時附加（如 /fail）"};
  TextBox failSuffixField{*this, "failSuffixField"};
  CheckBox alertEventCheck{*this, "alertEventCheck", "監看警示", 1};
  CheckBox findingEventCheck{*this, "findingEventCheck", "查到准單", 1};
  CheckBox blindEventCheck{*this, "blindEventCheck", "無法讀取與恢復", 1};
  CheckBox engineEventCheck{*this, "engineEventCheck", "瀏覽器引擎中斷與恢復", 1};
  CheckBox loginEventCheck{*this, "loginEventCheck", "IMCT 登入遭拒", 1};
  CheckBox deliveryEventCheck{*this, "deliveryEventCheck", "通知對象失效與恢復", 1};
  CheckBox programEventCheck{*this, "programEventCheck", "程式啟動與結束", 1};
  Label summaryLabel{*this, "summaryLabel", "每日摘要時間（如 08:00）"};
  TextBox summaryField{*this, "summaryField"};
  Label quietPeriodLabel{*this, "quietPeriodLabel", "安靜時段（如 22:00-07:00）"};
  TextBox quietPeriodField{*this, "quietPeriodField"};
  CheckBox quietAlertsOnlyCheck{*this, "quietAlertsOnlyCheck", "安靜時段只限監看警示", 0};
  CommandButton saveTargetButton{*this, "saveTargetButton", "儲存對象"};
  CommandButton removeTargetButton{*this, "removeTargetButton", "刪除對象"};
  CommandButton testTargetButton{*this, "testTargetButton", "測試"};
  Label secretStorageLabel{*this, "secretStorageLabel"};
  Label appriseLabel{*this, "appriseLabel"};

  CommandButton closeButton{*this, "closeButton", "關閉"};
  Label statusLabel{*this, "statusLabel"};
  // The targets' states change as the keyring answers and deliveries go.
  Timer targetRefreshTimer{*this, "targetRefreshTimer", 3s, true};

  void onLoad() override;
  // The lists read again (the fields keep what is being typed).
  void Refresh();
  void saveServersAndAccount();
  void savePilot();
  void removePilot();
  void pilotChosen();
  void saveTarget();
  void removeTarget();
  void testTarget();
  void targetChosen();
  // What does not apply to the kind chosen is emptied and disabled.
  void kindChosen();

 private:
  void layOut();
  void nameControls();
  void loadServersAndAccount();
  void loadPilots();
  void loadTargets();
  // The target the fields describe.
  RemoteTarget targetInFields() const;
  std::optional<RemoteTarget> targetToKeep();
  void targetSaved(RemoteTarget target, bool inKeyring);
  void showTarget(const RemoteTarget& target);
  void say(const QString& text);

  ConsoleState& console_;
  RemoteNotifier& notifier_;
  std::vector<RemoteTarget> targets_;
  std::unique_ptr<QueuedCall> test_;
  std::unique_ptr<QueuedCall> keyringCall_;
};

}  // namespace tidex
