#pragma once

// How a handler waits.
//
// A handler that may wait returns Task and runs at once, on the caller's stack. At a co_await
// it suspends: the awaiter registers itself with the source that will end the wait (the
// browser for PageWait, the open box for MessageBox and ShowTimedBox) and control returns to
// the caller, who drops the Task. From then on the frame has one owner: the window the handler
// runs for (the first window among its arguments, which for a window's own handler is the
// window itself), or, for a handler without a window, the desktop.
//
// The source resumes the handler from the dispatch loop once its condition holds (the browser
// is idle, the box was answered or closed). It resumes only awaiters that are still registered
// with it, and a box answers only while its awaiter still holds it, so nothing ever reaches a
// frame that is gone.
//
// When a window unloads, the desktop destroys the window's suspended frames at once; each
// awaiter's destructor withdraws from its source (leaves the browser's waiters, closes its box,
// stops its countdown). A handler that is running at that moment (the one that unloaded the
// window) goes on to its end or its next wait, and its frame goes when the window is disposed
// of. When the program ends, the desktop ends the waits of every window and those without one.

#include <coroutine>
#include <cstddef>
#include <exception>
#include <type_traits>
#include <vector>

namespace tidex {

class Form;
class HandlerSet;

// A handler that may wait (see above).
class Task final {
 public:
  struct promise_type;
  using Handle = std::coroutine_handle<promise_type>;

  struct promise_type {
    Form* form = nullptr;         // the window it runs for, if any
    HandlerSet* owner = nullptr;  // set once the Task has let go of the suspended frame
    bool suspended = false;       // waiting at a co_await, not running

    promise_type() = default;
    template <class... Args>
    explicit promise_type(Args&... args) : form(firstWindow(args...)) {}

    Task get_return_object() { return Task{Handle::from_promise(*this)}; }
    std::suspend_never initial_suspend() noexcept { return {}; }
    struct FinalAwaiter {
      bool await_ready() noexcept { return false; }
      void await_suspend(Handle h) noexcept;
      void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void return_void() noexcept {}
    void unhandled_exception() noexcept { std::terminate(); }

    // Every wait goes through Suspension, which records whether the frame is suspended.
    template <class Awaiter>
    auto await_transform(Awaiter&& awaiter) noexcept {
      return Suspension<std::remove_reference_t<Awaiter>>{awaiter, *this};
    }

   private:
    template <class Awaiter>
    struct Suspension {
      Awaiter& awaiter;  // lives until the end of the co_await expression
      promise_type& promise;

      bool await_ready() { return awaiter.await_ready(); }
      auto await_suspend(Handle h) {
        promise.suspended = true;
        if constexpr (std::is_same_v<decltype(awaiter.await_suspend(h)), bool>) {
          const bool suspend = awaiter.await_suspend(h);
          promise.suspended = suspend;
          return suspend;
        } else {
          return awaiter.await_suspend(h);
        }
      }
      decltype(auto) await_resume() {
        promise.suspended = false;
        return awaiter.await_resume();
      }
    };

    static Form* firstWindow() { return nullptr; }
    template <class First, class... Rest>
    static Form* firstWindow(First& first, Rest&... rest) {
      using Plain = std::remove_cv_t<First>;
      if constexpr (std::is_convertible_v<Plain*, Form*>) {
        return const_cast<Plain*>(&first);
      } else {
        return firstWindow(rest...);
      }
    }
  };

  Task(Task&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;
  Task& operator=(Task&&) = delete;
  // A frame that is still suspended passes to its owner.
  ~Task();

  bool done() const { return !handle_ || handle_.done(); }

 private:
  explicit Task(Handle h) : handle_(h) {}
  Handle handle_;
};

// The suspended handlers of one owner: a window, or the desktop for those without a window.
class HandlerSet final {
 public:
  HandlerSet() = default;
  HandlerSet(const HandlerSet&) = delete;
  HandlerSet& operator=(const HandlerSet&) = delete;
  ~HandlerSet();

  // Destroys every suspended frame. A frame that is running now is left; it ends by itself or
  // at the next call.
  void endWaits();
  // The frames held, suspended or resumed and not yet done.
  std::size_t count() const { return frames_.size(); }

 private:
  friend class Task;
  void adopt(Task::Handle h) { frames_.push_back(h); }
  void forget(Task::Handle h);

  std::vector<Task::Handle> frames_;
};

}  // namespace tidex
