#pragma once

#include <coroutine>
#include <optional>

#include "platform/web_browser.h"

namespace tidex {

// co_await PageWait(browser): waits while the browser is busy; everything else goes on.
class PageWait final {
 public:
  explicit PageWait(WebBrowser& browser) : browser_(browser) {}
  PageWait(const PageWait&) = delete;
  PageWait& operator=(const PageWait&) = delete;

  bool await_ready() const noexcept { return !browser_.Busy(); }
  void await_suspend(std::coroutine_handle<> h) { waiter_.emplace(browser_, h); }
  void await_resume() const noexcept {}

 private:
  WebBrowser& browser_;
  // Registered while suspended; a handler destroyed meanwhile withdraws it with the frame.
  std::optional<WebBrowser::Waiter> waiter_;
};

}  // namespace tidex
