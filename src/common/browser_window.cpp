#include "common/browser_window.h"

#include "common/page_script_neutraliser.h"

namespace tidex {

void DisarmPageDialogs(WebBrowser& browser) {
  browser.onNavigateComplete2 = [](HtmlDocument& document, const QString&, bool) {
    NeutralisePageScripts(document);
  };
}

void FillClientArea(Form& window, Frame& frame, WebBrowser& browser) {
  frame.Move(0, 0, window.geometry().width, window.geometry().height);
  browser.Move(0, 0, frame.geometry().width, frame.geometry().height);
}

}  // namespace tidex
