#pragma once

#include <coroutine>
#include <memory>

#include "platform/web_browser.h"

namespace tidex {

// co_await PageWait(browser): waits while the browser is busy; everything else goes on.
class PageWait final {
 public:
  explicit PageWait(WebBrowser& browser) : browser_(browser) {}
  PageWait(const PageWait&) = delete;
  PageWait& operator=(const PageWait&) = delete;
  ~PageWait() { *alive_ = false; }

  bool await_ready() const noexcept { return !browser_.Busy(); }
  void await_suspend(std::coroutine_handle<> h) { browser_.addWaiter(h, alive_); }
  void await_resume() const noexcept {}

 private:
  WebBrowser& browser_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tidex
