#include "monitors/registration/form2.h"

#include "common/blanks_and_breaks.h"
#include "common/page_script_neutraliser.h"
#include "imct/imct_pages.h"

namespace tidex {

Form2::Form2() : Form(QStringLiteral("Form2")) {
  setCaption(Name());
  Frame1.setEnabled(false);
  WebBrowser2.setVisible(false);
  WebBrowser3.setVisible(false);
  for (TextBox* field : {&Text1, &Text2, &Text3, &Text4}) field->setVisible(false);
  mUnload.setVisible(false);
  mHide.setVisible(false);
  Move(0, 0, 1008, 546);
  fillClientArea();
  for (WebBrowser* browser : {&WebBrowser1, &WebBrowser2, &WebBrowser3}) {
    browser->onNavigateComplete2 = [](HtmlDocument& document, const QString&, bool) {
      NeutralisePageScripts(document);
    };
  }
}

// Runs before the console sets the caption to the registration number.
void Form2::Form_Load() {
  setCaption(WithoutBlanksAndBreaks(Caption()));
  mStopBeep.setEnabled(false);
  mPrint.setEnabled(false);
  WebBrowser1.Navigate2(ImctLoginPage());
  WebBrowser1.setSilent(true);
}

void Form2::Form_Resize() { fillClientArea(); }

void Form2::fillClientArea() {
  Frame1.Move(0, 0, geometry().width, geometry().height);
  WebBrowser1.Move(0, 0, Frame1.geometry().width, Frame1.geometry().height);
}

}  // namespace tidex
