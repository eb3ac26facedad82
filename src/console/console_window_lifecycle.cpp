#include "common/alerting/timed_box.h"
#include "common/health/monitor_status.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/text/date_text.h"
#include "console/console_fields.h"
#include "console/console_window.h"
#include "console/notify_icon_module.h"
#include "console/window_snapshot.h"
#include "platform/desktop.h"

namespace tidex {

void ConsoleWindow::onLoad() {
  // The start-up window shows itself after loading unless it hides here.
  setVisible(hideConsoleCheck.Value() != 1);
  setCaption(ConsoleCaption());
  urlField.setText(ServerAddress(settings_keys::kServerBoard) +
                   QStringLiteral("/sdci/UA1006.ASP?QSP_ID=&QSP_ENAME=&QSP_PORT=1108&QSP_PAGID=&"
                                  "SP_CALL=&SEARCH=1&iPage=&OK=?j?M"));
  batchListBrowser.setSilent(true);
  customsBrowser.setSilent(true);
  Move(0, 7);
  NotifyIconModule::Add(trayIconPicture, ConsoleCaption());
  setTopMost(true);
  LoadConsoleFields(*this);
  WriteSetting(settings_keys::kSetup, settings_keys::kShowAll, QStringLiteral("0"));
  batchListBrowser.Navigate2(ServerAddress(settings_keys::kServerMaker) +
                             QStringLiteral("/pda/Tidex_var.php"));
  activityTimeLabel.setCaption(GeneralDateText(Desktop::current().now()));
  autostartMenu.setChecked(Desktop::current().startsWithSession());
  onActivate();
  // A second copy has ended by now: it sends nothing and waits for no tray.
  if (isUnloaded()) return;
  notificationSender_.start();
  remoteNotifier_.watchCounts = [] {
    WatchCounts counts;
    for (Form* monitor : OpenMonitors()) {
      ++counts.open;
      switch (dynamic_cast<const WatchingWindow&>(*monitor).monitorStatus().state) {
        case MonitorStatus::State::Alerting:
          ++counts.alerting;
          break;
        case MonitorStatus::State::Blind:
          ++counts.blind;
          break;
        default:
          ++counts.watching;
      }
    }
    return counts;
  };
  remoteNotifier_.start(engine_, *this);
  watchForTray();
}

void ConsoleWindow::onActivate() {
  setCaption(ConsoleCaption());
  Desktop& desktop = Desktop::current();
  if (desktop.previousInstance()) {
    const QString remembered = Caption();
    setCaption(QString());  // so that the search cannot find this copy's own console
    desktop.activateOtherInstance(remembered);
    NotifyIconModule::Remove();
    desktop.endProgram();
    return;
  }
  if (hideTrayCheck.Value() == 1) NotifyIconModule::Remove();
}

void ConsoleWindow::onQueryUnload(int& cancel, UnloadReason reason) {
  if (reason == UnloadReason::SessionEnd || reason == UnloadReason::Terminated) {
    if (!remoteNotifier_.tellsEnding()) {
      NotifyIconModule::Remove();
      journal_.close();
      return;
    }
    // Ends by itself once the targets were told.
    cancel = 1;
    endProgram(reason == UnloadReason::SessionEnd ? QStringLiteral("桌面工作階段結束")
                                                  : QStringLiteral("程式被要求結束（SIGTERM）"));
    return;
  }
  cancel = 1;
  hideToTray();
}

void ConsoleWindow::onUnload(int& /*cancel*/) {}

void ConsoleWindow::onExitLabelMouseDown(MouseButton /*button*/, ModifierKeys keys, int /*x*/,
                                         int /*y*/) {
  quitGesture(keys);
}

void ConsoleWindow::onShowAllButtonMouseDown(MouseButton /*button*/, ModifierKeys keys, int /*x*/,
                                             int /*y*/) {
  quitGesture(keys);
}

void ConsoleWindow::quitGesture(ModifierKeys keys) {
  if (keys != (ModifierKeys::Ctrl | ModifierKeys::Alt)) return;
  endProgram(QStringLiteral("以 Ctrl+Alt 結束"));
}

void ConsoleWindow::endProgram(const QString& why) {
  NotifyIconModule::Remove();
  remoteNotifier_.programEnding(why, [this] {
    journal_.close();
    Desktop::current().endProgram();
  });
}

Task ConsoleWindow::confirmAndEndProgram() {
  // Nobody may be watching: only a Yes ends the program, never the countdown; Enter answers No.
  const BoxResult answer = co_await ShowTimedBox(QStringLiteral("確定要結束程式嗎？ "),
                                                 {BoxButtons::YesNo, BoxDefault::Second});
  if (answer != BoxResult::Yes) co_return;
  recordEndTime();
  endProgram(QStringLiteral("使用者選擇「結束程式」"));
}

}  // namespace tidex
