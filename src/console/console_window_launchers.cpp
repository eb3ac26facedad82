#include "common/alerting/timed_box.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/text/date_text.h"
#include "console/console_fields.h"
#include "console/console_window.h"
#include "console/web_address.h"
#include "console/window_snapshot.h"
#include "imct/imct_login_window.h"
#include "platform/desktop.h"

namespace tidex {
namespace {

void openVerificationWindow(ConsoleState& console, ImctPageKind kind) {
  ImctLoginWindow& window = Desktop::current().load<ImctLoginWindow>(console, kind);
  window.setCaption(QStringLiteral("卸貨淮單清表查詢"));
  window.Show();
}

}  // namespace

void ConsoleWindow::wireLaunchers() {
  for (const MonitorKind& kind : MonitorKinds()) {
    controlNamed<CommandButton>(kind.button).onClick = [this, &kind] { launchMonitor(kind); };
    if (kind.reopenTimer == nullptr) continue;
    controlNamed<Timer>(kind.reopenTimer).onTimer = [this, &kind] { reopenMonitor(kind); };
  }
  batchStepButton.onClick = [this] { runBatchStep(); };
  openWindowsButton.onClick = [this] { listOpenWindows(); };
  showAllButton.onClick = [this] { showAllMonitors(); };
  automaticBatchButton.onClick = [this] { runAutomaticBatchStep(); };
  batchListFetchButton.onClick = [this] { startBatchListFetch(); };
  imctBcButton.onClick = [this] { openImctBc(); };
  customsPermitButton.onClick = [this] { queryCustomsPermit(); };
  feeRegistrationButton.onClick = [this] { queryFeeRegistration(); };
  imctBaButton.onClick = [this] { openImctBa(); };
  imctBeButton.onClick = [this] { openImctBe(); };
  batchListField.onMouseDown = [this](MouseButton b, ModifierKeys k, int x, int y) {
    onBatchListMouseDown(b, k, x, y);
  };
  showAllResetTimer.onTimer = [this] { resetShowAllFlag(); };
  batchListFetchTimer.onTimer = [this] { fetchBatchList(); };
  automaticBatchTimer.onTimer = [this] { onAutomaticBatchTick(); };
  halfHourTimer.onTimer = [this] { onHalfHourTick(); };
  journalFlushTimer.onTimer = [this] { flushJournal(); };
  getVarMenu.onClick = [this] { fetchBatchListNow(); };
  customsBrowser.onDocumentComplete = [this](HtmlDocument&, const QString&, bool) {
    onCustomsPageComplete();
  };
  for (TextBox* field : {&accountField, &passwordField, &registrationField, &batchListField,
                         &vesselField, &locationField, &wharfField, &urlField}) {
    field->onGotFocus = [this, field] { selectAllOnFocus(*field); };
  }
  registrationField.onChange = [this] { onRegistrationFieldChange(); };
  batchLineField.onChange = [this] { onBatchLineChange(); };
}

Task ConsoleWindow::launchMonitor(const MonitorKind& kind) {
  TextBox& field = controlNamed<TextBox>(kind.field);
  if (kind.rule == ItemRule::UpperCase) field.setText(field.Text().toUpper());
  if (kind.rule == ItemRule::WebAddress) {
    // A file, script or data address would be shown and compared like a page: web pages only.
    const std::optional<QString> address = WatchedPageAddress(field.Text());
    if (!address) {
      co_await ShowTimedBox(QStringLiteral("此URL無效，請輸入 http 或 https 網址！ "),
                            BoxButtons::Ok);
      co_return;
    }
    field.setText(*address);  // the monitor reads its address from the field as it loads
  }
  const QString item = field.Text();
  // What the monitor keeps in Tidex.ini under its item, or the account it logs in with, would
  // not be kept as typed: refused before anything opens.
  const bool storable =
      FitsSettingsFile(item) && (!kind.logsIn || (FitsSettingsFile(accountField.Text()) &&
                                                  FitsSettingsFile(passwordField.Text())));
  if (!storable) {
    co_await ShowTimedBox(
        QStringLiteral("輸入含有 Tidex.ini 無法保存的字元（例如簡體字），請改用繁體字或英數字！ "),
        BoxButtons::Ok);
    co_return;
  }
  if (IsRunning(TakeWindowSnapshot(), item)) {
    co_await ShowTimedBox(kind.refusal, BoxButtons::Ok);
    co_return;
  }
  Form& window = kind.open(*this);
  window.setCaption(item);
  window.Show();
  if (!kind.logsIn) co_return;
  batchListField.setLocked(true);
  batchStepButton.setEnabled(false);
  SaveConsoleFields(*this, true);
  maskAccount();
}

// Reopen a monitor whose user asked for it on closing; the launcher refuses a duplicate.
void ConsoleWindow::reopenMonitor(const MonitorKind& kind) {
  launchMonitor(kind);
  controlNamed<Timer>(kind.reopenTimer).setEnabled(false);
}

TextBox& ConsoleWindow::watchedItemField(const QString& kind) const {
  return controlNamed<TextBox>(MonitorKindOf(kind).field);
}

QString ConsoleWindow::watchedItem(const QString& kind) const {
  return watchedItemField(kind).Text();
}

void ConsoleWindow::setWatchedItem(const QString& kind, const QString& item) {
  watchedItemField(kind).setText(item);
}

void ConsoleWindow::reopenSoon(const QString& kind) {
  const MonitorKind& found = MonitorKindOf(kind);
  if (found.reopenTimer != nullptr) controlNamed<Timer>(found.reopenTimer).setEnabled(true);
}

void ConsoleWindow::setAccount(const QString& account, const QString& password) {
  accountField.setText(account);
  passwordField.setText(password);
}

void ConsoleWindow::showRegistrationNumber(const QString& number) {
  registrationField.setText(number);
}

void ConsoleWindow::showActivityTime() {
  activityTimeLabel.setCaption(GeneralDateText(Desktop::current().now()));
}

void ConsoleWindow::listOpenWindows() {
  batchListField.setText(QString());
  batchListField.setText(RunningMonitorCaptions());
  openWindowCountLabel.setCaption(
      QString::number(batchListField.Text().count(QStringLiteral("\r\n"))));
}

void ConsoleWindow::showAllMonitors() {
  WriteSetting(settings_keys::kSetup, settings_keys::kShowAll, QStringLiteral("1"));
  showAllResetTimer.setEnabled(true);
}

void ConsoleWindow::startBatchListFetch() { batchListFetchTimer.setEnabled(true); }

void ConsoleWindow::openImctBc() { openVerificationWindow(*this, ImctPageKind::Bc); }

void ConsoleWindow::openImctBa() { openVerificationWindow(*this, ImctPageKind::Ba); }

void ConsoleWindow::openImctBe() { openVerificationWindow(*this, ImctPageKind::Be); }

void ConsoleWindow::maskAccount() {
  accountField.setPasswordChar(QLatin1Char('*'));
  accountField.setEnabled(false);
  passwordField.setEnabled(false);
}

}  // namespace tidex
