#include "platform/timer.h"

namespace tidex {

Timer::Timer(Form& owner, QString name, int intervalMs, bool enabled)
    : Control(owner, std::move(name), Kind::Timer), interval_(intervalMs) {
  setEnabled(enabled);
}

void Timer::setInterval(int ms) {
  interval_ = ms < 0 ? 0 : ms;
  changed();
}

void Timer::elapsed() {
  if (running() && onTimer) onTimer();
}

}  // namespace tidex
