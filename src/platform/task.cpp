#include "platform/task.h"

#include <unordered_map>
#include <unordered_set>

#include "platform/form.h"

namespace tidex {
namespace {

// Coroutines suspended without a window (free functions awaited at top level).
std::unordered_set<void*>& freeTasks() {
  static std::unordered_set<void*> tasks;
  return tasks;
}

// Every live handler frame, with the window it belongs to.
std::unordered_map<void*, Form*>& liveFrames() {
  static std::unordered_map<void*, Form*> frames;
  return frames;
}

}  // namespace

void Task::promise_type::FinalAwaiter::await_suspend(
    std::coroutine_handle<promise_type> h) noexcept {
  auto& p = h.promise();
  liveFrames().erase(h.address());
  if (!p.detached) return;  // the Task object still owns the frame
  if (p.form) {
    p.form->forgetTask(h);
  } else {
    freeTasks().erase(h.address());
  }
  h.destroy();
}

Task::~Task() {
  if (!handle_) return;
  if (handle_.done()) {
    handle_.destroy();
    return;
  }
  auto& p = handle_.promise();
  p.detached = true;
  liveFrames()[handle_.address()] = p.form;
  if (p.form) {
    p.form->adoptTask(handle_);
  } else {
    freeTasks().insert(handle_.address());
  }
}

Form* owningForm(std::coroutine_handle<> h) {
  auto it = liveFrames().find(h.address());
  return it == liveFrames().end() ? nullptr : it->second;
}

void resumeHandler(std::coroutine_handle<> h) {
  auto it = liveFrames().find(h.address());
  if (it == liveFrames().end()) return;
  if (it->second && it->second->isUnloaded()) return;
  h.resume();
}

void destroyHandler(std::coroutine_handle<> h) {
  liveFrames().erase(h.address());
  freeTasks().erase(h.address());
  h.destroy();
}

void destroyFreeHandlers() {
  auto tasks = freeTasks();
  for (void* address : tasks) destroyHandler(std::coroutine_handle<>::from_address(address));
}

}  // namespace tidex
