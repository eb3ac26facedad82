#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/alerting/timed_box.h"
#include "console/console_fields.h"
#include "console/console_window.h"
#include "console/web_address.h"
#include "console/window_snapshot.h"
#include "imct/imct_login_window.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/desktop.h"

namespace tidex {
namespace {

using MonitorKind = ConsoleWindow::MonitorKind;

Form& createMonitor(ConsoleState& console, MonitorKind kind) {
  Desktop& desktop = Desktop::current();
  switch (kind) {
    case MonitorKind::Registration:
      return desktop.load<RegistrationMonitor>(console);
    case MonitorKind::Vessel:
      return desktop.load<VesselMonitor>(console);
    case MonitorKind::Wharf:
      return desktop.load<WharfMonitor>(console);
    case MonitorKind::Url:
      break;
  }
  return desktop.load<UrlMonitor>(console);
}

void openVerificationWindow(ConsoleState& console, ImctPageKind kind) {
  ImctLoginWindow& window = Desktop::current().load<ImctLoginWindow>(console, kind);
  window.setCaption(QStringLiteral("卸貨淮單清表查詢"));
  window.Show();
}

}  // namespace

void ConsoleWindow::wireLaunchers() {
  batchStepButton.onClick = [this] { runBatchStep(); };
  registrationButton.onClick = [this] { launchRegistrationMonitor(); };
  openWindowsButton.onClick = [this] { listOpenWindows(); };
  showAllButton.onClick = [this] { showAllMonitors(); };
  automaticBatchButton.onClick = [this] { runAutomaticBatchStep(); };
  batchListFetchButton.onClick = [this] { startBatchListFetch(); };
  vesselButton.onClick = [this] { launchVesselMonitor(); };
  imctBcButton.onClick = [this] { openImctBc(); };
  customsPermitButton.onClick = [this] { queryCustomsPermit(); };
  wharfButton.onClick = [this] { launchWharfMonitor(); };
  feeRegistrationButton.onClick = [this] { queryFeeRegistration(); };
  urlButton.onClick = [this] { launchUrlMonitor(); };
  imctBaButton.onClick = [this] { openImctBa(); };
  imctBeButton.onClick = [this] { openImctBe(); };
  batchListField.onMouseDown = [this](MouseButton b, ModifierKeys k, int x, int y) {
    onBatchListMouseDown(b, k, x, y);
  };
  showAllResetTimer.onTimer = [this] { resetShowAllFlag(); };
  batchListFetchTimer.onTimer = [this] { fetchBatchList(); };
  automaticBatchTimer.onTimer = [this] { onAutomaticBatchTick(); };
  halfHourTimer.onTimer = [this] { onHalfHourTick(); };
  reopenVesselTimer.onTimer = [this] { reopenVesselMonitor(); };
  reopenWharfTimer.onTimer = [this] { reopenWharfMonitor(); };
  reopenUrlTimer.onTimer = [this] { reopenUrlMonitor(); };
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

Task ConsoleWindow::launchSingle(TextBox& field, bool upperCase, QString refusal,
                                 MonitorKind kind) {
  if (upperCase) field.setText(field.Text().toUpper());
  if (kind == MonitorKind::Url) {
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
      FitsSettingsFile(item) &&
      (kind != MonitorKind::Registration ||
       (FitsSettingsFile(accountField.Text()) && FitsSettingsFile(passwordField.Text())));
  if (!storable) {
    co_await ShowTimedBox(
        QStringLiteral("輸入含有 Tidex.ini 無法保存的字元（例如簡體字），請改用繁體字或英數字！ "),
        BoxButtons::Ok);
    co_return;
  }
  if (IsRunning(TakeWindowSnapshot(), item)) {
    co_await ShowTimedBox(refusal, BoxButtons::Ok);
    co_return;
  }
  Form& window = createMonitor(*this, kind);
  window.setCaption(item);
  window.Show();
  if (kind != MonitorKind::Registration) co_return;
  batchListField.setLocked(true);
  batchStepButton.setEnabled(false);
  SaveConsoleFields(*this, true);
  maskAccount();
}

Task ConsoleWindow::launchRegistrationMonitor() {
  return launchSingle(registrationField, true,
                      QStringLiteral("此海掛執行中，請查詢運作中的海掛！ "),
                      MonitorKind::Registration);
}

Task ConsoleWindow::launchVesselMonitor() {
  return launchSingle(vesselField, true, QStringLiteral("此船名執行中，請查詢運作中的海掛！ "),
                      MonitorKind::Vessel);
}

Task ConsoleWindow::launchWharfMonitor() {
  return launchSingle(wharfField, true, QStringLiteral("此碼頭執行中，請查詢運作中的海掛！ "),
                      MonitorKind::Wharf);
}

Task ConsoleWindow::launchUrlMonitor() {
  return launchSingle(urlField, false, QStringLiteral("此URL執行中，請查詢運作中的海掛！ "),
                      MonitorKind::Url);
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
