#pragma once

#include <chrono>
#include <functional>

#include "platform/control.h"

namespace tidex {

// Windows give their timers' periods as 1s, 500ms.
using namespace std::chrono_literals;

// A window timer: fires Timer every Interval while enabled and Interval is above zero.
// Setting Enabled or Interval starts the period afresh.
class Timer final : public Control {
 public:
  Timer(Form& owner, QString name, std::chrono::milliseconds interval = {}, bool enabled = true);

  std::chrono::milliseconds Interval() const { return interval_; }
  // A negative interval counts as zero.
  void setInterval(std::chrono::milliseconds interval);
  bool running() const { return Enabled() && interval_ > std::chrono::milliseconds::zero(); }

  std::function<void()> onTimer;

 private:
  friend class BackEnd;
  // A period ended, as the back end tells.
  void elapsed();

  std::chrono::milliseconds interval_;
};

}  // namespace tidex
