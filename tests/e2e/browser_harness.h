#pragma once

#include <chrono>
#include <functional>

#include <gtest/gtest.h>

#include <QString>

#include "browser_test_server.h"
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

// A story of the Qt browser: a fresh BrowserForm on the shared desktop for each test, and a
// loopback server of the test's pages.
class BrowserPageTest : public ::testing::Test {
 protected:
  // Before any fixture exists: its form needs the application.
  static void SetUpTestSuite() { ensureBrowserDesktop(); }
  void SetUp() override;
  void TearDown() override;

  WebBrowser& browser() { return form_->browser; }
  HtmlDocument& document() { return *browser().Document(); }
  QString text() { return document().documentElement().innerText(); }
  // Navigates and waits until that page has completed.
  bool open(const QString& url);

  BrowserTestServer server_;
  BrowserForm* form_ = nullptr;
};

}  // namespace tidex::e2e
