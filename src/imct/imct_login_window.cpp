#include "imct/imct_login_window.h"

#include "common/imct/imct_login.h"
#include "common/imct/imct_pages.h"
#include "common/page/browser_window.h"
#include "common/page/page_wait.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/text/blanks_and_breaks.h"

namespace tidex {

namespace {

// The window's name (its class in the window list) and the maker's page it shows.
struct ImctPage {
  QString windowName;
  QString path;
};

ImctPage PageOf(ImctPageKind kind) {
  switch (kind) {
    case ImctPageKind::Ba:
      return {QStringLiteral("Form8"), QStringLiteral("/pda/imctba.php")};
    case ImctPageKind::Be:
      return {QStringLiteral("Form9"), QStringLiteral("/pda/imctbe.php")};
    case ImctPageKind::Bc:
      break;
  }
  return {QStringLiteral("Form4"), QStringLiteral("/pda/imct.php")};
}

}  // namespace

ImctLoginWindow::ImctLoginWindow(ConsoleState& console, ImctPageKind kind)
    : Form(PageOf(kind).windowName), console_(console), pathAfterLogin_(PageOf(kind).path) {
  setCaption(Name());
  Resize(kBrowserWindowWidth, kBrowserWindowHeight);
  FillClientArea(*this, pageFrame, pageBrowser);
  DisarmPageDialogs(pageBrowser);
  pageBrowser.onDocumentComplete = [this](HtmlDocument&, const QString&, bool) {
    onPageComplete();
  };
}

QString ImctLoginWindow::pageAfterLogin() const {
  return ServerAddress(settings_keys::kServerMaker) + pathAfterLogin_;
}

void ImctLoginWindow::onLoad() {
  setCaption(WithoutBlanksAndBreaks(Caption()));
  forms_.open(pageBrowser, ImctLoginPage());
}

Task ImctLoginWindow::onPageComplete() {
  if (const auto document = pageBrowser.Document()) {
    forms_.fill(*document, console_);
  }
  co_await PageWait(pageBrowser);
  const auto current = pageBrowser.Document();
  if (!current) co_return;
  const QString text = current->documentElement().innerText();
  if (text.contains(kImctTitle)) forms_.open(pageBrowser, pageAfterLogin());
  if (text.contains(kImctRefused)) {
    ImctLoginFailure(*this, pageBrowser, console_);
    co_return;
  }
  if (text.contains(kImctLoginLost)) forms_.open(pageBrowser, ImctLoginPage());
}

void ImctLoginWindow::onResize() { FillClientArea(*this, pageFrame, pageBrowser); }

}  // namespace tidex
