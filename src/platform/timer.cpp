#include "platform/timer.h"

#include <algorithm>

namespace tidex {

Timer::Timer(Form& owner, QString name, std::chrono::milliseconds interval, bool enabled)
    : Control(owner, std::move(name), Kind::Timer), interval_(interval) {
  setEnabled(enabled);
}

void Timer::setInterval(std::chrono::milliseconds interval) {
  interval_ = std::max(interval, std::chrono::milliseconds::zero());
  changed();
}

void Timer::elapsed() {
  if (running() && onTimer) onTimer();
}

}  // namespace tidex
