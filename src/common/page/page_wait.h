#pragma once

#include <chrono>
#include <coroutine>
#include <memory>
#include <optional>

#include "platform/desktop.h"
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

// co_await BoundedPageWait(browser, limit): as PageWait, but for at most limit; gives true when
// the page completed in time. For pages that must not hold their handler up for good.
class BoundedPageWait final {
 public:
  BoundedPageWait(WebBrowser& browser, std::chrono::milliseconds limit)
      : browser_(browser), limit_(limit) {}
  BoundedPageWait(const BoundedPageWait&) = delete;
  BoundedPageWait& operator=(const BoundedPageWait&) = delete;

  bool await_ready() const noexcept { return !browser_.Busy(); }
  void await_suspend(std::coroutine_handle<> h) {
    waiter_.emplace(browser_, h);
    limitTimer_ = Desktop::current().startTimer(limit_, [this, h] {
      if (timedOut_) return;
      timedOut_ = true;
      waiter_.reset();
      // Resumed from the dispatch loop, not inside this timer's own tick.
      resume_ = Desktop::current().queue([h] { h.resume(); });
    });
  }
  bool await_resume() {
    limitTimer_.reset();
    return !timedOut_;
  }

 private:
  WebBrowser& browser_;
  std::chrono::milliseconds limit_;
  bool timedOut_ = false;
  // Each withdraws by its destructor when the handler is destroyed while waiting.
  std::optional<WebBrowser::Waiter> waiter_;
  std::unique_ptr<TimerHandle> limitTimer_;
  std::unique_ptr<QueuedCall> resume_;
};

}  // namespace tidex
