#include "monitors/registration/form2.h"

#include "common/blanks_and_breaks.h"
#include "common/browser_window.h"
#include "common/imct_pages.h"

namespace tidex {

Form2::Form2(ConsoleState& console) : Form(QStringLiteral("Form2")), console_(console) {
  setCaption(Name());
  Frame1.setEnabled(false);
  WebBrowser2.setVisible(false);
  WebBrowser3.setVisible(false);
  for (TextBox* field : {&Text1, &Text2, &Text3, &Text4}) field->setVisible(false);
  mUnload.setVisible(false);
  mHide.setVisible(false);
  Resize(kBrowserWindowWidth, kBrowserWindowHeight);
  FillClientArea(*this, Frame1, WebBrowser1);
  for (WebBrowser* browser : {&WebBrowser1, &WebBrowser2, &WebBrowser3}) {
    DisarmPageDialogs(*browser);
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

void Form2::Form_Resize() { FillClientArea(*this, Frame1, WebBrowser1); }

}  // namespace tidex
