#include <utility>

#include "common/alerting/timed_box.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/text/number_text.h"
#include "console/console_fields.h"
#include "console/console_window.h"
#include "console/text_box_lines.h"
#include "console/window_snapshot.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/desktop.h"

namespace tidex {

int ConsoleWindow::beginBatchStep() {
  registrationField.setText(registrationField.Text().toUpper());
  batchListField.setText(batchListField.Text().toUpper());
  batchLineField.setText(
      TB_GetLine(batchListField, static_cast<int>(Val(batchIndexLabel.Caption()))));
  if (IsRunning(TakeWindowSnapshot(), batchLineField.Text())) batchLineField.setText(QString());
  const int last = LastLineIndex(batchListField.Text());
  batchCountLabel.setCaption(QString::number(last + 1));
  return last;
}

ConsoleWindow::FilterVerdict ConsoleWindow::filterBatchLine() {
  // A record that is not a number at all is left alone rather than taken for 0.
  const std::optional<double> record =
      NumberOf(ReadSetting(settings_keys::kFound, batchLineField.Text(), QStringLiteral("0")));
  if (record == 0.0) return FilterVerdict::Launch;
  if (record == 1.0) return FilterVerdict::Done;
  return FilterVerdict::Skip;
}

void ConsoleWindow::launchBatchLine(bool visible) {
  RegistrationMonitor& monitor = Desktop::current().load<RegistrationMonitor>(*this);
  monitor.setCaption(batchLineField.Text());
  if (visible) monitor.Show();
  maskAccount();
  batchListField.setLocked(true);
  SaveConsoleFields(*this, false);
}

void ConsoleWindow::launchHiddenBatchLine() {
  if (!hasAccount()) {
    if (!std::exchange(accountMissingTold_, true)) tellAccountMissing();
    return;
  }
  accountMissingTold_ = false;
  launchBatchLine(false);
}

// The fields hold what was saved (empty when nothing was) or their placeholders before loading.
bool ConsoleWindow::hasAccount() const {
  const QString account = accountField.Text().trimmed();
  const QString password = passwordField.Text().trimmed();
  return !account.isEmpty() && account != QStringLiteral("ID") && !password.isEmpty() &&
         password != QStringLiteral("PWD");
}

Task ConsoleWindow::tellAccountMissing() {
  co_await ShowTimedBox(QStringLiteral("尚未設定 IMCT 帳號及密碼，自動查詢未開啟海掛！ "),
                        BoxButtons::Ok);
}

void ConsoleWindow::advanceBatchIndex() {
  batchIndexLabel.setCaption(
      QString::number(static_cast<long long>(Val(batchIndexLabel.Caption())) + 1));
}

void ConsoleWindow::runBatchStep() {
  const int last = beginBatchStep();
  if (Val(batchIndexLabel.Caption()) > last) {
    batchStepButton.setEnabled(false);
    batchListField.setLocked(true);
    batchFilterCheck.setEnabled(false);
    automaticBatchTimer.setEnabled(false);
    batchFilterCheck.setValue(1);
    batchIndexLabel.setCaption(QStringLiteral("0"));
    return;
  }
  if (!batchLineField.Text().isEmpty()) {
    if (batchFilterCheck.Value() == 1) {
      switch (filterBatchLine()) {
        case FilterVerdict::Launch:
          launchBatchLine(true);
          break;
        case FilterVerdict::Done:
          Desktop::current().beep(3000, 100ms);
          break;
        case FilterVerdict::Skip:
          break;
      }
    } else if (batchFilterCheck.Value() == 0) {
      launchBatchLine(true);
    }
  }
  advanceBatchIndex();
}

void ConsoleWindow::runAutomaticBatchStep() {
  const int last = beginBatchStep();
  openWindowsButton.setEnabled(false);
  if (!batchListField.Text().contains(QStringLiteral("CHECK")) ||
      Val(batchIndexLabel.Caption()) > last) {
    endAutomaticBatch();
    return;
  }
  const QString line = batchLineField.Text();
  if (line != QStringLiteral("CHECK") && !line.isEmpty()) {
    if (batchFilterCheck.Value() == 1) {
      if (filterBatchLine() == FilterVerdict::Launch) launchHiddenBatchLine();
    } else if (batchFilterCheck.Value() == 0) {
      launchHiddenBatchLine();
    }
  }
  advanceBatchIndex();
}

void ConsoleWindow::endAutomaticBatch() {
  batchStepButton.setEnabled(false);
  openWindowsButton.setEnabled(true);
  batchListField.setLocked(true);
  batchFilterCheck.setEnabled(false);
  automaticBatchTimer.setEnabled(false);
  batchFilterCheck.setValue(1);
  halfHourTimer.setEnabled(true);
  batchIndexLabel.setCaption(QStringLiteral("0"));
}

void ConsoleWindow::onBatchListMouseDown(MouseButton /*button*/, ModifierKeys keys, int /*x*/,
                                         int /*y*/) {
  if (keys == (ModifierKeys::Ctrl | ModifierKeys::Alt)) {
    unlockBatchList();
  } else if (keys == ModifierKeys::Ctrl) {
    batchStepButton.setEnabled(false);
    batchListField.setLocked(true);
    batchFilterCheck.setEnabled(false);
  }
}

void ConsoleWindow::unlockBatchList() {
  batchStepButton.setEnabled(true);
  batchListField.setLocked(false);
  batchFilterCheck.setEnabled(true);
  batchIndexLabel.setCaption(QStringLiteral("0"));
}

}  // namespace tidex
