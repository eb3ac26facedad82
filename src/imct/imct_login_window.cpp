#include "imct/imct_login_window.h"

#include "common/blanks_and_breaks.h"
#include "common/browser_window.h"
#include "common/imct_login.h"
#include "common/imct_pages.h"
#include "common/page_wait.h"
#include "common/settings.h"

namespace tidex {

ImctLoginWindow::ImctLoginWindow(ConsoleState& console, QString name, QString pathAfterLogin)
    : Form(std::move(name)), console_(console), pathAfterLogin_(std::move(pathAfterLogin)) {
  setCaption(Name());
  Text1.setVisible(false);
  Resize(kBrowserWindowWidth, kBrowserWindowHeight);
  FillClientArea(*this, Frame1, WebBrowser1);
  DisarmPageDialogs(WebBrowser1);
  WebBrowser1.onDocumentComplete = [this](HtmlDocument&, const QString&, bool) {
    WebBrowser1_DocumentComplete();
  };
}

QString ImctLoginWindow::PageAfterLogin() const {
  return ServerAddress(QStringLiteral("maker")) + pathAfterLogin_;
}

void ImctLoginWindow::Form_Load() {
  setCaption(WithoutBlanksAndBreaks(Caption()));
  forms_.open(WebBrowser1, ImctLoginPage());
}

Task ImctLoginWindow::WebBrowser1_DocumentComplete() {
  if (const auto document = WebBrowser1.Document()) {
    forms_.fill(*document, console_);
  }
  co_await PageWait(WebBrowser1);
  const auto current = WebBrowser1.Document();
  if (!current) co_return;
  Text1.setText(current->documentElement().innerText());
  if (Text1.Text().contains(kImctTitle)) forms_.open(WebBrowser1, PageAfterLogin());
  if (Text1.Text().contains(kImctRefused)) {
    ImctLoginFailure(*this, WebBrowser1, console_);
    co_return;
  }
  if (Text1.Text().contains(kImctLoginLost)) forms_.open(WebBrowser1, ImctLoginPage());
}

void ImctLoginWindow::Form_Resize() { FillClientArea(*this, Frame1, WebBrowser1); }

}  // namespace tidex
