#include "common/page/browser_window.h"

#include <algorithm>

#include "common/page/page_script_neutraliser.h"

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

void FillClientArea(Form& window, Frame& frame, WebBrowser& browser, Label& below) {
  const Geometry& area = window.geometry();
  const int line = below.Visible() ? std::min(kLineHeight, area.height) : 0;
  frame.Move(0, 0, area.width, area.height - line);
  browser.Move(0, 0, frame.geometry().width, frame.geometry().height);
  below.Move(0, area.height - line, area.width, line);
}

void ShowLineBeneath(Form& window, Frame& frame, WebBrowser& browser, Label& line,
                     const QString& text) {
  line.setCaption(text);
  line.setAccessibleName(text);
  line.setVisible(!text.isEmpty());
  FillClientArea(window, frame, browser, line);
}

}  // namespace tidex
