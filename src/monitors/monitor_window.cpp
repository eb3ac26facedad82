#include "monitors/monitor_window.h"

#include "common/alerting/alert_tones.h"
#include "common/health/engine_watch.h"
#include "common/page/browser_window.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"

namespace tidex {

MonitorWindow::MonitorWindow(ConsoleState& console, const QString& name)
    : Form(name), console_(console) {
  setCaption(Name());
  pageFrame.setEnabled(false);
  DisarmPageDialogs(pageBrowser);
  pollTimer.onTimer = [this] { onPollTick(); };
  alertTimer.onTimer = [this] { onAlertTick(); };
  showAllTimer.onTimer = [this] { onShowAllTick(); };
  hideMenu.onClick = [this] { hideWindow(); };
}

void MonitorWindow::startAlerting() {
  alertTimer.setEnabled(true);
  pollTimer.setEnabled(false);
}

void MonitorWindow::ringAlert(bool bringForward) {
  if (bringForward) {
    setTopMost(true);
    restore();
    bringToFront();
  }
  PlayAlertTones(console_);
}

void MonitorWindow::showIfAllAsked() {
  if (ReadSetting(settings_keys::kSetup, settings_keys::kShowAll, QStringLiteral("No Settings")) !=
      QStringLiteral("1")) {
    return;
  }
  Show();
  setWindowState(WindowState::Normal);
}

void MonitorWindow::replaceUnreadPage() {
  if (!pageBrowser.NavigationUnread()) return;
  pageBrowser.Recreate();
  console_.browserEngine().PageStalled();
}

}  // namespace tidex
