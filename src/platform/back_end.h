#pragma once

#include <memory>

#include <QString>

#include "platform/check_box.h"
#include "platform/combo_box.h"
#include "platform/command_button.h"
#include "platform/control.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/list_view.h"
#include "platform/menu.h"
#include "platform/picture_box.h"
#include "platform/text_box.h"
#include "platform/timer.h"
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
  static void windowStateChanged(Form& form, WindowState state) { form.userWindowState(state); }
  static void visibilityChanged(Form& form, bool on) { form.userVisible(on); }

  // The user pressed a mouse button on a control, or clicked it (pressed and released the left
  // button on it, or pressed a button with the keyboard).
  static void mouseDown(CommandButton& button, MouseButton mouse, ModifierKeys keys, int x, int y) {
    button.userMouseDown(mouse, keys, x, y);
  }
  static void mouseDown(Label& label, MouseButton mouse, ModifierKeys keys, int x, int y) {
    label.userMouseDown(mouse, keys, x, y);
  }
  static void mouseDown(TextBox& box, MouseButton mouse, ModifierKeys keys, int x, int y) {
    box.userMouseDown(mouse, keys, x, y);
  }
  static void clicked(CommandButton& button) { button.userClick(); }
  static void clicked(Label& label) { label.userClick(); }
  static void clicked(Menu& item) { item.userClick(); }
  static void toggled(CheckBox& box) { box.userToggled(); }
  static void chosen(ComboBox& box, int index) { box.userChose(index); }
  // The mouse moved over a picture box (the tray reports its messages this way).
  static void mouseMoved(PictureBox& box, MouseButton mouse, ModifierKeys keys, double x,
                         double y) {
    box.mouseMove(mouse, keys, x, y);
  }

  // The user edited a text box, moved its selection or gave it the focus; the peer took the
  // focus the control asked for.
  static void edited(TextBox& box, const QString& text) { box.userEdited(text); }
  static void selected(TextBox& box, int start, int length) { box.userSelected(start, length); }
  static void focused(TextBox& box) { box.userFocused(); }
  static void focusTaken(TextBox& box) { box.clearFocusRequest(); }

  // A timer's period ended.
  static void elapsed(Timer& timer) { timer.elapsed(); }

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
