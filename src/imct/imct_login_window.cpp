#include "imct/imct_login_window.h"

#include "common/blanks_and_breaks.h"
#include "common/browser_window.h"
#include "common/imct_pages.h"
#include "common/settings.h"

namespace tidex {

ImctLoginWindow::ImctLoginWindow(ConsoleState& console, QString name, QString pathAfterLogin)
    : Form(std::move(name)), console_(console), pathAfterLogin_(std::move(pathAfterLogin)) {
  setCaption(Name());
  Text1.setVisible(false);
  Resize(kBrowserWindowWidth, kBrowserWindowHeight);
  FillClientArea(*this, Frame1, WebBrowser1);
  DisarmPageDialogs(WebBrowser1);
}

QString ImctLoginWindow::PageAfterLogin() const {
  return ServerAddress(QStringLiteral("maker")) + pathAfterLogin_;
}

void ImctLoginWindow::Form_Load() {
  setCaption(WithoutBlanksAndBreaks(Caption()));
  WebBrowser1.Navigate2(ImctLoginPage());
}

void ImctLoginWindow::Form_Resize() { FillClientArea(*this, Frame1, WebBrowser1); }

}  // namespace tidex
