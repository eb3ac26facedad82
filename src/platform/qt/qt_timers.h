#pragma once

#include <chrono>
#include <functional>

#include <QObject>
#include <QPointer>
#include <QTimer>

#include "platform/desktop.h"
#include "platform/timer.h"

namespace tidex {

// A Timer control as a QTimer: every sync starts the period afresh while the control runs.
class TimerPeer final : public QObject, public ControlPeer {
 public:
  explicit TimerPeer(Timer& timer);
  ~TimerPeer() override;
  void sync() override;

 private:
  Timer& timer_;
  QPointer<QTimer> qtimer_;
};

// Desktop::startTimer: a periodic QTimer not tied to a control.
class QtTimerHandle final : public TimerHandle {
 public:
  QtTimerHandle(std::chrono::milliseconds period, std::function<void()> tick);
  ~QtTimerHandle() override;

 private:
  QPointer<QTimer> qtimer_;
};

}  // namespace tidex
