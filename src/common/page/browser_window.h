#pragma once

#include "platform/form.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/web_browser.h"

namespace tidex {

// Every browser of the program disarms the page's dialogs after each navigation.
void DisarmPageDialogs(WebBrowser& browser);

// The page fills the window: the frame at the origin with the client area's size, the browser
// filling the frame.
void FillClientArea(Form& window, Frame& frame, WebBrowser& browser);
// The same with a one-line label beneath the page while the label is visible.
void FillClientArea(Form& window, Frame& frame, WebBrowser& browser, Label& below);
constexpr int kLineHeight = 20;
// Shows text in the line beneath the page (hidden when empty); the text is the line's accessible
// name too, so that a screen reader says what it says, not only that it is there.
void ShowLineBeneath(Form& window, Frame& frame, WebBrowser& browser, Label& line,
                     const QString& text);

// The size at which a browser window opens; the desktop places it.
constexpr int kBrowserWindowWidth = 1008;
constexpr int kBrowserWindowHeight = 546;

}  // namespace tidex
