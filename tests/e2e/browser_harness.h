#pragma once

#include <chrono>
#include <functional>

#include <QString>

#include "platform/form.h"
#include "platform/web_browser.h"

namespace tidex::e2e {

// A window holding one browser, which counts its pages completed.
class BrowserForm final : public Form {
 public:
  BrowserForm() : Form(QStringLiteral("BrowserForm")) {
    browser.Move(0, 0, 400, 300);
    browser.onDocumentComplete = [this](HtmlDocument&, const QString&, bool topLevel) {
      if (topLevel) ++completed;
    };
  }
  WebBrowser browser{*this, QStringLiteral("WebBrowser1")};
  int completed = 0;
};

// Makes, on first use, the QApplication (offscreen, engine sandbox off) and the QtDesktop the
// browser tests share; both are torn down after the last test of the process.
void ensureBrowserDesktop();
// The settings folder of that desktop (TIDEX_HOME).
QString browserDesktopHome();

// Runs the event loop until the condition holds or the time is up; test code only.
bool spinUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
void spinFor(std::chrono::milliseconds time);

}  // namespace tidex::e2e
