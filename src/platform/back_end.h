#pragma once

#include <memory>

#include <QString>

#include "platform/control.h"
#include "platform/form.h"
#include "platform/list_view.h"
#include "platform/web_browser.h"

namespace tidex {

// The calls that only a back end (platform/qt, platform/sim) makes into windows and controls:
// attaching peers and reporting what the user or a page did. Window code never includes this.
class BackEnd final {
 public:
  BackEnd() = delete;

  static void setPeer(Form& form, FormPeer* peer) { form.peer_ = peer; }
  static void setPeer(Control& control, ControlPeer* peer) { control.setPeer(peer); }

  // The user changed the window.
  static void activated(Form& form) { form.userActivated(); }
  static void resized(Form& form, int width, int height) { form.userResized(width, height); }
  static void windowStateChanged(Form& form, int state) { form.userWindowState(state); }
  static void visibilityChanged(Form& form, bool on) { form.userVisible(on); }

  // The user acted on a list: selected a row (-1: none), or double-clicked one or pressed
  // Enter on it.
  static void rowSelected(ListView& list, int row) { list.userSelected(row); }
  static void rowActivated(ListView& list, int row) { list.userActivated(row); }

  // A browser's progress, always from the dispatch loop.
  static void navigationStarted(WebBrowser& browser, const QString& url) {
    browser.navigationStarted(url);
  }
  static void navigateComplete(WebBrowser& browser, std::shared_ptr<HtmlDocument> document,
                               const QString& url, bool topLevel) {
    browser.navigateComplete(std::move(document), url, topLevel);
  }
  static void documentComplete(WebBrowser& browser, std::shared_ptr<HtmlDocument> document,
                               const QString& url, bool topLevel, LoadResult result) {
    browser.documentComplete(std::move(document), url, topLevel, result);
  }
  static void navigationAbandoned(WebBrowser& browser) { browser.navigationAbandoned(); }
};

}  // namespace tidex
