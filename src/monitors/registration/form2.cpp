#include "monitors/registration/form2.h"

#include "common/blanks_and_breaks.h"
#include "common/browser_window.h"
#include "common/imct_pages.h"
#include "common/journal.h"
#include "platform/journal_schema.h"

namespace tidex {

Form2::Form2(ConsoleState& console)
    : Form(QStringLiteral("Form2")),
      console_(console),
      readHealth_(console, journal::kind::kRegistration, QStringLiteral("無法查詢 IMCT"),
                  kBlindAfterQueries) {
  setCaption(Name());
  Frame1.setEnabled(false);
  WebBrowser2.setVisible(false);
  WebBrowser3.setVisible(false);
  for (TextBox* field : {&Text1, &Text2, &Text3, &Text4}) field->setVisible(false);
  mUnload.setVisible(false);
  mHide.setVisible(false);
  blindLine.setVisible(false);
  Resize(kBrowserWindowWidth, kBrowserWindowHeight);
  FillClientArea(*this, Frame1, WebBrowser1, blindLine);
  for (WebBrowser* browser : {&WebBrowser1, &WebBrowser2, &WebBrowser3}) {
    DisarmPageDialogs(*browser);
  }
  wireEvents();
}

void Form2::wireEvents() {
  WebBrowser1.onDocumentComplete = [this](HtmlDocument&, const QString&, bool) {
    WebBrowser1_DocumentComplete();
  };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  Timer2.onTimer = [this] { Timer2_Timer(); };
  Timer3.onTimer = [this] { Timer3_Timer(); };
  Timer4.onTimer = [this] { Timer4_Timer(); };
  notificationTimer.onTimer = [this] { notificationTimer_Timer(); };
  notification_.onBoardText = [this](const QString& text) { Text4.setText(text); };
  mUnload.onClick = [this] { mUnload_Click(); };
  mHide.onClick = [this] { mHide_Click(); };
  mPrint.onClick = [this] { mPrint_Click(); };
  mStopBeep.onClick = [this] { mStopBeep_Click(); };
  readHealth_.caption = [this] { return Caption(); };
  readHealth_.onLineChanged = [this](const QString& line) { ShowBlindLine(line); };
}

// Runs before the console sets the caption to the registration number.
void Form2::Form_Load() {
  setCaption(WithoutBlanksAndBreaks(Caption()));
  mStopBeep.setEnabled(false);
  mPrint.setEnabled(false);
  forms_.open(WebBrowser1, ImctLoginPage());
  WebBrowser1.setSilent(true);
}

MonitorStatus Form2::monitorStatus() const {
  MonitorStatus status;
  status.kind = QStringLiteral("海掛");
  if (Timer2.Enabled()) {
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

void Form2::Form_Resize() { FillClientArea(*this, Frame1, WebBrowser1, blindLine); }

void Form2::ShowBlindLine(const QString& line) {
  ShowLineBeneath(*this, Frame1, WebBrowser1, blindLine, line);
}

}  // namespace tidex
