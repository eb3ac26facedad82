#include "monitors/pilotboard/board_monitor.h"

#include "common/blanks_and_breaks.h"
#include "common/page_script_neutraliser.h"
#include "console/console_access.h"

namespace tidex {

BoardMonitor::BoardMonitor(QString name) : Form(std::move(name)) {
  setCaption(Name());
  Frame1.setEnabled(false);
  for (TextBox* field : {&Text1, &Text2, &Text3, &Text5, &Text6, &Text7}) {
    field->setVisible(false);
  }
  Move(0, 0, 1008, 546);
  fillClientArea();
  WebBrowser1.onNavigateComplete2 = [](HtmlDocument& document, const QString&, bool) {
    NeutralisePageScripts(document);
  };
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
  WebBrowser1.Navigate2(PageAddress(WatchedItemField(Console()).Text()));
  WebBrowser1.setSilent(true);
  mStopBeep.setEnabled(false);
}

void BoardMonitor::Form_Resize() { fillClientArea(); }

void BoardMonitor::fillClientArea() {
  Frame1.Move(0, 0, geometry().width, geometry().height);
  WebBrowser1.Move(0, 0, Frame1.geometry().width, Frame1.geometry().height);
}

}  // namespace tidex
