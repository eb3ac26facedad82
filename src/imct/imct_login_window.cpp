#include "imct/imct_login_window.h"

#include "common/blanks_and_breaks.h"
#include "common/page_script_neutraliser.h"
#include "console/settings.h"
#include "imct/imct_pages.h"

namespace tidex {

ImctLoginWindow::ImctLoginWindow(QString name, QString pathAfterLogin)
    : Form(std::move(name)), pathAfterLogin_(std::move(pathAfterLogin)) {
  setCaption(Name());
  Text1.setVisible(false);
  Move(0, 0, 1008, 546);
  fillClientArea();
  WebBrowser1.onNavigateComplete2 = [](HtmlDocument& document, const QString&, bool) {
    NeutralisePageScripts(document);
  };
}

QString ImctLoginWindow::PageAfterLogin() const {
  return ServerAddress(QStringLiteral("maker")) + pathAfterLogin_;
}

void ImctLoginWindow::Form_Load() {
  setCaption(WithoutBlanksAndBreaks(Caption()));
  WebBrowser1.Navigate2(ImctLoginPage());
}

void ImctLoginWindow::Form_Resize() { fillClientArea(); }

void ImctLoginWindow::fillClientArea() {
  Frame1.Move(0, 0, geometry().width, geometry().height);
  WebBrowser1.Move(0, 0, Frame1.geometry().width, Frame1.geometry().height);
}

}  // namespace tidex
