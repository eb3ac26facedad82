#include "monitors/registration/registration_monitor.h"

#include "common/text/blanks_and_breaks.h"
#include "common/page/browser_window.h"
#include "common/imct/imct_pages.h"
#include "common/journal/journal.h"
#include "platform/journal_schema.h"

namespace tidex {

RegistrationMonitor::RegistrationMonitor(ConsoleState& console)
    : Form(QStringLiteral("Form2")),
      console_(console),
      readHealth_(console, journal::kind::kRegistration, QStringLiteral("無法查詢 IMCT"),
                  kBlindAfterQueries) {
  setCaption(Name());
  pageFrame.setEnabled(false);
  mailBrowser.setVisible(false);
  boardBrowser.setVisible(false);
  unloadMenu.setVisible(false);
  hideMenu.setVisible(false);
  blindLine.setVisible(false);
  Resize(kBrowserWindowWidth, kBrowserWindowHeight);
  FillClientArea(*this, pageFrame, pageBrowser, blindLine);
  for (WebBrowser* browser : {&pageBrowser, &mailBrowser, &boardBrowser}) {
    DisarmPageDialogs(*browser);
  }
  wireEvents();
}

void RegistrationMonitor::wireEvents() {
  pageBrowser.onDocumentComplete = [this](HtmlDocument&, const QString&, bool) {
    onPageComplete();
  };
  pollTimer.onTimer = [this] { onPollTick(); };
  alertTimer.onTimer = [this] { onAlertTick(); };
  showAllTimer.onTimer = [this] { onShowAllTick(); };
  printMenuTimer.onTimer = [this] { restorePrintMenu(); };
  notificationTimer.onTimer = [this] { onNotificationRetry(); };
  unloadMenu.onClick = [this] { unloadWindow(); };
  hideMenu.onClick = [this] { hideWindow(); };
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
  if (alertTimer.Enabled()) {
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
