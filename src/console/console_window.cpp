#include "console/console_window.h"

#include "common/page/browser_window.h"
#include "console/notify_icon_module.h"

namespace tidex {

ConsoleWindow::ConsoleWindow()
    : Form(QStringLiteral("Form1")), engine_(*this, NotifyIconModule::TrayTip(ConsoleCaption())) {
  passwordField.setPasswordChar(QLatin1Char('*'));
  batchListField.setMultiLine(true);
  batchListField.setLocked(true);
  locationField.setToolTipText(QStringLiteral("輸入您要查詢的卸存地。例：KHH1080"));
  batchFilterCheck.setEnabled(false);
  hideConsoleCheck.setEnabled(false);
  dailyReopenCheck.setEnabled(false);
  hideTrayCheck.setEnabled(false);
  batchStepButton.setEnabled(false);
  batchStepButton.setToolTipText(QStringLiteral("整批海掛查詢。"));
  registrationButton.setToolTipText(QStringLiteral("單海掛查詢。"));
  openWindowsButton.setToolTipText(QStringLiteral("查詢運行中的海掛及船名。"));
  showAllButton.setToolTipText(QStringLiteral("開啟運行中的所有視窗。"));
  vesselButton.setToolTipText(QStringLiteral("查詢船隻進出港時間是否有變動。"));
  customsPermitButton.setToolTipText(QStringLiteral("SP查詢"));
  trayMenu.setVisible(false);
  layOut();
  wireEvents();
  wireLaunchers();
}

QString ConsoleWindow::ConsoleCaption() {
  return QStringLiteral("准單查詢 %1.%2.%3")
      .arg(TIDEX_VERSION_MAJOR)
      .arg(TIDEX_VERSION_MINOR)
      .arg(TIDEX_VERSION_PATCH);
}

void ConsoleWindow::wireEvents() {
  trayIconPicture.onMouseMove = [this](MouseButton b, ModifierKeys k, double x, double y) {
    onTrayIconMouse(b, k, x, y);
  };
  exitLabel.onMouseDown = [this](MouseButton b, ModifierKeys k, int x, int y) {
    onExitLabelMouseDown(b, k, x, y);
  };
  showAllButton.onMouseDown = [this](MouseButton b, ModifierKeys k, int x, int y) {
    onShowAllButtonMouseDown(b, k, x, y);
  };
  hideMenu.onClick = [this] { hideConsole(); };
  showMenu.onClick = [this] { showConsole(); };
  closeMenu.onClick = [this] { closeFromTray(); };
  aboutMenu.onClick = [this] { openAboutPage(); };
  changeLogMenu.onClick = [this] { openChangeLog(); };
  monitorStatusMenu.onClick = [this] { openStatusWindow(); };
  settingsMenu.onClick = [this] { openSettingsWindow(); };
  autostartMenu.onClick = [this] { toggleAutostart(); };
  unlockBatchListMenu.onClick = [this] { unlockBatchList(); };
  endProgramMenu.onClick = [this] { confirmAndEndProgram(); };
  trayGraceTimer.onTimer = [this] { showWithoutTray(); };
  silentModeCheck.onClick = [this] { onSilentModeToggled(); };
  journal_.onUnwritable = [this] { tellJournalUnwritable(); };
  DisarmPageDialogs(batchListBrowser);
  DisarmPageDialogs(customsBrowser);
  DisarmPageDialogs(notificationMailBrowser);
  DisarmPageDialogs(notificationBoardBrowser);
}

}  // namespace tidex
