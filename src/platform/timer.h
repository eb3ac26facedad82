#pragma once

#include <functional>

#include "platform/control.h"

namespace tidex {

// A window timer: fires Timer every Interval milliseconds while enabled and Interval > 0.
// Setting Enabled or Interval starts the period afresh.
class Timer final : public Control {
 public:
  Timer(Form& owner, QString name, int intervalMs = 0, bool enabled = true);

  int Interval() const { return interval_; }
  void setInterval(int ms);
  bool running() const { return Enabled() && interval_ > 0; }

  std::function<void()> onTimer;

 private:
  friend class BackEnd;
  // A period ended, as the back end tells.
  void elapsed();

  int interval_;
};

}  // namespace tidex
