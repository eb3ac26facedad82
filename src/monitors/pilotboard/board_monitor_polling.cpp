#include "common/alerting/desktop_notice.h"
#include "common/journal/journal.h"
#include "monitors/pilotboard/board_change.h"
#include "monitors/pilotboard/board_monitor.h"
#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex {

void BoardMonitor::onPollTick() {
  if (++secondsSinceReload_ > 59) {
    secondsSinceReload_ = 0;
    searchSent_ = false;
    health_.periodEnded(kind_.server.isEmpty() ? QStringLiteral("網頁無回應")
                                               : QStringLiteral("看板無回應"));
    replaceUnreadPage();
    pageBrowser.Navigate2(kind_.pageAddress(Caption()));
  }
  if (pageChanged()) {
    startAlerting();
    pageFrame.setEnabled(true);
    recordAlert();
  }
}

void BoardMonitor::recordAlert() {
  const BoardChange change =
      DescribeBoardChange(baseline(), latest(), {baselinePage_, baselineHeadings_},
                          {latestPage_, latestHeadings_}, kind_.normalise);
  console_.journal().record(Caption(), kind_.journalKind, journal::event::kAlert, change.summary,
                            {change.before, change.after, change.pageBefore, change.pageAfter});
  showChangeLine(change.summary);
  alertStarted_ = true;
  alertTime_ = Desktop::current().now();
  alertSummary_ = change.summary;
  NotifyDesktop(console_, Caption(), change.summary);
}

bool BoardMonitor::pageChanged() {
  if (!kind_.filtersErrorPages) {
    if (baseline_ != latest_) return true;
    differenceTicks_ = 0;
    return false;
  }
  if (latestIsErrorPage_) return false;
  if (baseline_ != latest_) return ++differenceTicks_ == 1;
  differenceTicks_ = 0;
  return false;
}

void BoardMonitor::onAlertTick() {
  stopBeepMenu.setEnabled(true);
  Show();
  console_.setWatchedItem(QLatin1String(kind_.journalKind), Caption());
  ringAlert(true);
}

void BoardMonitor::onShowAllTick() { showIfAllAsked(); }

void BoardMonitor::stopBeeping() {
  alertTimer.setEnabled(false);
  hideMenu.setEnabled(false);
  showChangeLine(QString());
}

}  // namespace tidex
