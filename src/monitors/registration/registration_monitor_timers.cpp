#include "common/imct/imct_pages.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/text/number_text.h"
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
  if (console_.hidesTray()) return;
  Desktop::current().beep(3000, 100ms);
  console_.showRegistrationNumber(Caption());
  console_.showActivityTime();
}

void RegistrationMonitor::onPollTick() {
  if (++secondsSinceQuery_ > 300) {
    secondsSinceQuery_ = 0;
    readHealth_.periodEnded(QStringLiteral("沒有回應"));
    replaceUnreadPage();
    forms_.open(pageBrowser, ImctQueryPage());
  }
}

void RegistrationMonitor::onAlertTick() {
  stopBeepMenu.setEnabled(true);
  printMenu.setEnabled(true);
  ringAlert(console_.showsNotifications());
  if (NumberOf(touchfilesOf(Caption())) == 1.0 && console_.showsNotifications()) {
    Show();
  }
  console_.showActivityTime();
}

void RegistrationMonitor::onShowAllTick() {
  saveFinding();
  if (console_.hidesTray() && isTime(4, 50)) {
    if (Unload()) return;
  }
  showIfAllAsked();
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

void RegistrationMonitor::unloadWindow() { Unload(); }

}  // namespace tidex
