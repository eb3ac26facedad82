#include "monitors/registration/registration_monitor.h"

#include "common/imct/imct_pages.h"
#include "common/journal/journal.h"
#include "common/page/browser_window.h"
#include "common/text/blanks_and_breaks.h"
#include "platform/journal_schema.h"

namespace tidex {

RegistrationMonitor::RegistrationMonitor(ConsoleState& console)
    : MonitorWindow(console, QStringLiteral("Form2")),
      readHealth_(console, journal::kind::kRegistration, QStringLiteral("無法查詢 IMCT"),
                  kBlindAfterQueries) {
  mailBrowser.setVisible(false);
  boardBrowser.setVisible(false);
  unloadMenu.setVisible(false);
  hideMenu.setVisible(false);
  blindLine.setVisible(false);
  Resize(kBrowserWindowWidth, kBrowserWindowHeight);
  FillClientArea(*this, pageFrame, pageBrowser, blindLine);
  for (WebBrowser* browser : {&mailBrowser, &boardBrowser}) DisarmPageDialogs(*browser);
  wireEvents();
}

void RegistrationMonitor::wireEvents() {
  pageBrowser.onDocumentComplete = [this](HtmlDocument&, const QString&, bool) {
    onPageComplete();
  };
  printMenuTimer.onTimer = [this] { restorePrintMenu(); };
  notificationTimer.onTimer = [this] { onNotificationRetry(); };
  unloadMenu.onClick = [this] { unloadWindow(); };
  printMenu.onClick = [this] { printPage(); };
  stopBeepMenu.onClick = [this] { stopBeeping(); };
  readHealth_.caption = [this] { return Caption(); };
  readHealth_.onLineChanged = [this](const QString& line) { showBlindLine(line); };
}

// Runs before the console sets the caption to the registration number.
void RegistrationMonitor::onLoad() {
  setCaption(WithoutBlanksAndBreaks(Caption()));
  stopBeepMenu.setEnabled(false);
  printMenu.setEnabled(false);
  forms_.open(pageBrowser, ImctLoginPage());
  pageBrowser.setSilent(true);
}

MonitorStatus RegistrationMonitor::monitorStatus() const {
  MonitorStatus status;
  status.kind = QStringLiteral("海掛");
  if (isAlerting()) {
    status.state = MonitorStatus::State::Alerting;
  } else if (foundTime_.isValid()) {
    status.state = MonitorStatus::State::Found;
  }
  readHealth_.describe(status);
  status.lastEvent = foundTime_;
  status.lastEventSummary = foundSummary_;
  status.notificationPending =
      console_.journal().pendingNotifications().find(Caption()).has_value();
  return status;
}

void RegistrationMonitor::onResize() { FillClientArea(*this, pageFrame, pageBrowser, blindLine); }

void RegistrationMonitor::showBlindLine(const QString& line) {
  ShowLineBeneath(*this, pageFrame, pageBrowser, blindLine, line);
}

}  // namespace tidex
