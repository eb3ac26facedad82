#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>

#include <QDateTime>

namespace tidex {

// Virtual time for tests: events run in order of due time, then of scheduling, and only when
// the test advances the clock.
class VirtualClock final {
 public:
  using EventId = std::uint64_t;

  explicit VirtualClock(QDateTime start);

  QDateTime now() const { return start_.addMSecs(elapsedMs_); }
  std::int64_t elapsedMs() const { return elapsedMs_; }

  EventId schedule(std::chrono::milliseconds delay, std::function<void()> fn);
  void cancel(EventId id);

  // Runs every event due up to now + span (events scheduled meanwhile included), then sets
  // the clock to now + span.
  void advance(std::chrono::milliseconds span);
  // Runs the events that are due at the current moment.
  void runDue() { advance(std::chrono::milliseconds{0}); }
  // Drops every pending event.
  void clear();
  std::size_t pending() const { return queue_.size(); }

 private:
  using Key = std::pair<std::int64_t, EventId>;
  QDateTime start_;
  std::int64_t elapsedMs_ = 0;
  EventId next_ = 1;
  std::map<Key, std::function<void()>> queue_;
  std::unordered_map<EventId, std::int64_t> due_;
};

}  // namespace tidex
