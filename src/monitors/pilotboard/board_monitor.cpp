#include "monitors/pilotboard/board_monitor.h"

#include "common/blanks_and_breaks.h"
#include "common/browser_window.h"

namespace tidex {

BoardMonitor::BoardMonitor(ConsoleState& console, const BoardMonitorKind& kind)
    : Form(kind.name),
      console_(console),
      kind_(kind),
      health_(
          console, kind.journalKind,
          kind.server.isEmpty() ? QStringLiteral("無法讀取網頁") : QStringLiteral("無法讀取看板"),
          kBlindAfterReloads) {
  setCaption(Name());
  Frame1.setEnabled(false);
  for (TextBox* field : {&Text1, &Text2, &Text3, &Text5, &Text6, &Text7}) {
    field->setVisible(false);
  }
  Label1.setVisible(false);
  health_.caption = [this] { return Caption(); };
  health_.onLineChanged = [this](const QString& line) {
    if (!alertStarted_) ShowChangeLine(line);
  };
  Resize(kBrowserWindowWidth, kBrowserWindowHeight);
  FillClientArea(*this, Frame1, WebBrowser1, Label1);
  DisarmPageDialogs(WebBrowser1);
  WebBrowser1.onDocumentComplete = [this](HtmlDocument&, const QString&, bool) {
    WebBrowser1_DocumentComplete();
  };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  Timer2.onTimer = [this] { Timer2_Timer(); };
  Timer3.onTimer = [this] { Timer3_Timer(); };
  mHide.onClick = [this] { mHide_Click(); };
  mStopBeep.onClick = [this] { mStopBeep_Click(); };
}

// Runs before the console sets the caption: the watched item comes from the console's field.
void BoardMonitor::Form_Load() {
  setCaption(WithoutBlanksAndBreaks(Caption()));
  WebBrowser1.Navigate2(kind_.pageAddress(kind_.watchedItemField(console_).Text()));
  WebBrowser1.setSilent(true);
  mStopBeep.setEnabled(false);
}

MonitorStatus BoardMonitor::monitorStatus() const {
  MonitorStatus status;
  status.kind = kind_.displayName;
  if (Timer2.Enabled()) {
    status.state = MonitorStatus::State::Alerting;
  } else if (alertStarted_) {
    status.state = MonitorStatus::State::Stopped;
  }
  health_.describe(status);
  status.lastEvent = alertTime_;
  status.lastEventSummary = alertSummary_;
  return status;
}

void BoardMonitor::Form_Resize() { FillClientArea(*this, Frame1, WebBrowser1, Label1); }

void BoardMonitor::ShowChangeLine(const QString& text) {
  ShowLineBeneath(*this, Frame1, WebBrowser1, Label1, text);
}

}  // namespace tidex
