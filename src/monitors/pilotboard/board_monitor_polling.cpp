#include "common/alert_tones.h"
#include "common/desktop_notice.h"
#include "common/engine_watch.h"
#include "common/journal.h"
#include "common/number_text.h"
#include "common/settings.h"
#include "monitors/pilotboard/board_change.h"
#include "monitors/pilotboard/board_monitor.h"
#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex {
namespace {
QString numberText(double value) { return QString::number(static_cast<long long>(value)); }
}  // namespace

void BoardMonitor::Timer1_Timer() {
  Text5.setText(numberText(Val(Text5.Text()) + 1));
  if (Val(Text5.Text()) > 59) {
    Text5.setText(QStringLiteral("0"));
    Text3.setText(QStringLiteral("0"));
    health_.periodEnded(kind_.server.isEmpty() ? QStringLiteral("網頁無回應")
                                               : QStringLiteral("看板無回應"));
    ReplaceStalledPage();
    WebBrowser1.Navigate2(kind_.pageAddress(Caption()));
  }
  if (ChangeTest()) {
    Timer2.setEnabled(true);
    Timer1.setEnabled(false);
    Frame1.setEnabled(true);
    AlertStarted();
  }
}

// The last reload's page was never read: a fresh page, and the engine is looked at.
void BoardMonitor::ReplaceStalledPage() {
  if (!WebBrowser1.NavigationUnread()) return;
  WebBrowser1.Recreate();
  console_.BrowserEngine().PageStalled();
}

void BoardMonitor::AlertStarted() {
  const BoardChange change =
      DescribeBoardChange(Text1.Text(), Text2.Text(), {baselinePage_, baselineHeadings_},
                          {latestPage_, latestHeadings_}, kind_.normalise);
  console_.journal().record(Caption(), kind_.journalKind, journal::event::kAlert, change.summary,
                            {change.before, change.after, change.pageBefore, change.pageAfter});
  ShowChangeLine(change.summary);
  alertStarted_ = true;
  alertTime_ = Desktop::current().now();
  alertSummary_ = change.summary;
  NotifyDesktop(console_, Caption(), change.summary);
}

bool BoardMonitor::ChangeTest() {
  if (!kind_.filtersErrorPages) {
    if (Text1.Text() != Text2.Text()) return true;
    Text7.setText(QStringLiteral("0"));
    return false;
  }
  if (latestIsErrorPage_) return false;
  if (Text1.Text() != Text2.Text()) {
    Text7.setText(numberText(Val(Text7.Text()) + 1));
    return Val(Text7.Text()) == 1;
  }
  Text7.setText(QStringLiteral("0"));
  return false;
}

void BoardMonitor::Timer2_Timer() {
  mStopBeep.setEnabled(true);
  Show();
  kind_.watchedItemField(console_).setText(Caption());
  setTopMost(true);
  restore();
  bringToFront();
  PlayAlertTones(console_);
}

void BoardMonitor::Timer3_Timer() {
  Text6.setText(
      ReadSetting(QStringLiteral("setup"), QStringLiteral("004"), QStringLiteral("No Settings")));
  if (Text6.Text() == QStringLiteral("1")) {
    Show();
    setWindowState(Normal);
  }
}

void BoardMonitor::mHide_Click() { Hide(); }

void BoardMonitor::mStopBeep_Click() {
  Timer2.setEnabled(false);
  mHide.setEnabled(false);
  ShowChangeLine(QString());
}

}  // namespace tidex
