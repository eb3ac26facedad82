#include "platform/task.h"

#include <algorithm>
#include <cassert>

#include "platform/desktop.h"
#include "platform/form.h"

namespace tidex {

void Task::promise_type::FinalAwaiter::await_suspend(Handle h) noexcept {
  HandlerSet* owner = h.promise().owner;
  if (!owner) return;  // the Task object still holds the frame
  owner->forget(h);
  h.destroy();
}

Task::~Task() {
  if (!handle_) return;
  if (handle_.done()) {
    handle_.destroy();
    return;
  }
  promise_type& p = handle_.promise();
  p.owner = p.form ? &p.form->waits_ : &Desktop::current().freeWaits_;
  p.owner->adopt(handle_);
}

HandlerSet::~HandlerSet() {
  endWaits();
  assert(frames_.empty() && "a handler is running while its owner goes");
}

void HandlerSet::forget(Task::Handle h) { std::erase(frames_, h); }

void HandlerSet::endWaits() {
  // Destroying a frame runs destructors that may end further frames: look afresh each time.
  for (;;) {
    auto it = std::find_if(frames_.begin(), frames_.end(),
                           [](Task::Handle h) { return h.promise().suspended; });
    if (it == frames_.end()) return;
    const Task::Handle h = *it;
    frames_.erase(it);
    h.destroy();
  }
}

}  // namespace tidex
