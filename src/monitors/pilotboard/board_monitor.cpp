#include "monitors/pilotboard/board_monitor.h"

#include "common/page/browser_window.h"
#include "common/text/blanks_and_breaks.h"

namespace tidex {

BoardMonitor::BoardMonitor(ConsoleState& console, const BoardMonitorKind& kind)
    : MonitorWindow(console, kind.name),
      kind_(kind),
      health_(
          console, kind.journalKind,
          kind.server.isEmpty() ? QStringLiteral("無法讀取網頁") : QStringLiteral("無法讀取看板"),
          kBlindAfterReloads) {
  changeLine.setVisible(false);
  health_.caption = [this] { return Caption(); };
  health_.onLineChanged = [this](const QString& line) {
    if (!alertStarted_) showChangeLine(line);
  };
  Resize(kBrowserWindowWidth, kBrowserWindowHeight);
  FillClientArea(*this, pageFrame, pageBrowser, changeLine);
  pageBrowser.onDocumentComplete = [this](HtmlDocument&, const QString&, bool) {
    onPageComplete();
  };
  stopBeepMenu.onClick = [this] { stopBeeping(); };
}

// Runs before the console sets the caption: the watched item comes from the console's field.
void BoardMonitor::onLoad() {
  setCaption(WithoutBlanksAndBreaks(Caption()));
  pageBrowser.Navigate2(kind_.pageAddress(console_.watchedItem(QLatin1String(kind_.journalKind))));
  pageBrowser.setSilent(true);
  stopBeepMenu.setEnabled(false);
}

MonitorStatus BoardMonitor::monitorStatus() const {
  MonitorStatus status;
  status.kind = kind_.displayName;
  if (isAlerting()) {
    status.state = MonitorStatus::State::Alerting;
  } else if (alertStarted_) {
    status.state = MonitorStatus::State::Stopped;
  }
  health_.describe(status);
  status.lastEvent = alertTime_;
  status.lastEventSummary = alertSummary_;
  return status;
}

void BoardMonitor::onResize() { FillClientArea(*this, pageFrame, pageBrowser, changeLine); }

void BoardMonitor::showChangeLine(const QString& text) {
  ShowLineBeneath(*this, pageFrame, pageBrowser, changeLine, text);
}

}  // namespace tidex
