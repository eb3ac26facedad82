#include "platform/sim/virtual_clock.h"

namespace tidex {

VirtualClock::VirtualClock(QDateTime start) : start_(std::move(start)) {}

VirtualClock::EventId VirtualClock::schedule(std::chrono::milliseconds delay,
                                             std::function<void()> fn) {
  const EventId id = next_++;
  const std::int64_t due = elapsedMs_ + std::max<std::int64_t>(0, delay.count());
  queue_.emplace(Key{due, id}, std::move(fn));
  due_[id] = due;
  return id;
}

void VirtualClock::cancel(EventId id) {
  auto it = due_.find(id);
  if (it == due_.end()) return;
  queue_.erase(Key{it->second, id});
  due_.erase(it);
}

void VirtualClock::advance(std::chrono::milliseconds span) {
  const std::int64_t end = elapsedMs_ + std::max<std::int64_t>(0, span.count());
  while (!queue_.empty() && queue_.begin()->first.first <= end) {
    auto node = queue_.extract(queue_.begin());
    due_.erase(node.key().second);
    elapsedMs_ = node.key().first;
    node.mapped()();
  }
  elapsedMs_ = end;
}

void VirtualClock::clear() {
  queue_.clear();
  due_.clear();
}

}  // namespace tidex
