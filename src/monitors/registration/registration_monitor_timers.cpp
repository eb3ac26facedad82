#include "common/alerting/alert_tones.h"
#include "common/text/date_text.h"
#include "common/health/engine_watch.h"
#include "common/imct/imct_pages.h"
#include "common/text/number_text.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/desktop.h"

namespace tidex {
namespace {

bool isTime(int hour, int minute) {
  const QTime now = Desktop::current().now().time();
  return now.hour() == hour && now.minute() == minute;
}

QString touchfilesOf(const QString& number) {
  return ReadSetting(settings_keys::kFound, number, QStringLiteral("No Settings"));
}

}  // namespace

void RegistrationMonitor::onUnload(int& cancel) {
  const QString value = touchfilesOf(Caption());
  if (isTime(4, 55)) return;
  // "No Settings", an empty or any other text that is not a number counts as 0.
  const double found = NumberOf(value).value_or(0);
  if (found == 0) {
    cancel = 1;
    Hide();
    return;
  }
  if (found != 1) return;
  if (console_.HideTray().Value() == 1) return;
  Desktop::current().beep(3000, 100ms);
  console_.RegistrationNumber().setText(Caption());
  console_.ActivityTime().setCaption(GeneralDateText(Desktop::current().now()));
}

void RegistrationMonitor::onPollTick() {
  if (++secondsSinceQuery_ > 300) {
    secondsSinceQuery_ = 0;
    readHealth_.periodEnded(QStringLiteral("沒有回應"));
    // The last query's page was never read: a fresh page, and the engine is looked at.
    if (pageBrowser.NavigationUnread()) {
      pageBrowser.Recreate();
      console_.BrowserEngine().PageStalled();
    }
    forms_.open(pageBrowser, ImctQueryPage());
  }
}

void RegistrationMonitor::onAlertTick() {
  stopBeepMenu.setEnabled(true);
  printMenu.setEnabled(true);
  if (console_.ShowNotification().Value() == 1) {
    setTopMost(true);
    restore();
    bringToFront();
  }
  PlayAlertTones(console_);
  if (NumberOf(touchfilesOf(Caption())) == 1.0 && console_.ShowNotification().Value() == 1) {
    Show();
  }
  console_.ActivityTime().setCaption(GeneralDateText(Desktop::current().now()));
}

void RegistrationMonitor::onShowAllTick() {
  saveFinding();
  const QString showAll =
      ReadSetting(settings_keys::kSetup, settings_keys::kShowAll, QStringLiteral("No Settings"));
  if (console_.HideTray().Value() == 1 && isTime(4, 50)) {
    if (Unload()) return;
  }
  if (showAll == QStringLiteral("1")) {
    Show();
    setWindowState(WindowState::Normal);
  }
}

void RegistrationMonitor::restorePrintMenu() {
  printMenu.setEnabled(true);
  printMenuTimer.setEnabled(false);
}

void RegistrationMonitor::printPage() {
  alertTimer.setEnabled(false);
  printMenu.setEnabled(false);
  printMenuTimer.setEnabled(true);
  pageFrame.setEnabled(true);
  pageBrowser.Print();
}

void RegistrationMonitor::stopBeeping() {
  pageFrame.setEnabled(true);
  alertTimer.setEnabled(false);
}

void RegistrationMonitor::hideWindow() { Hide(); }

void RegistrationMonitor::unloadWindow() { Unload(); }

}  // namespace tidex
