#pragma once

#include <coroutine>
#include <exception>

namespace tidex {

class Form;

// A handler that may wait. It starts at once; if it suspends, its frame is handed to the
// window it runs for, which destroys it on unload, so it never resumes into a dead window.
class Task final {
 public:
  struct promise_type {
    Form* form = nullptr;
    bool detached = false;

    promise_type() = default;
    // Member coroutines of a window: the first argument is the window itself.
    template <class W, class... Args>
    explicit promise_type(W& first, Args&...) : form(windowOf(&first)) {}
    static Form* windowOf(Form* window) { return window; }
    static Form* windowOf(const void*) { return nullptr; }

    Task get_return_object() { return Task{Handle::from_promise(*this)}; }
    std::suspend_never initial_suspend() noexcept { return {}; }
    struct FinalAwaiter {
      bool await_ready() noexcept { return false; }
      void await_suspend(std::coroutine_handle<promise_type> h) noexcept;
      void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void return_void() noexcept {}
    void unhandled_exception() noexcept { std::terminate(); }
  };
  using Handle = std::coroutine_handle<promise_type>;

  Task(Task&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;
  Task& operator=(Task&&) = delete;
  ~Task();

  bool done() const { return !handle_ || handle_.done(); }

 private:
  explicit Task(Handle h) : handle_(h) {}
  Handle handle_;
};

// The window a suspended coroutine belongs to, or null for a free-standing one.
Form* owningForm(std::coroutine_handle<> h);

// Resumes a suspended handler unless it was destroyed or its window unloaded meanwhile.
void resumeHandler(std::coroutine_handle<> h);

// Destroys a suspended handler's frame (its window is going away).
void destroyHandler(std::coroutine_handle<> h);

// Destroys the suspended handlers that belong to no window (end of a test).
void destroyFreeHandlers();

}  // namespace tidex
