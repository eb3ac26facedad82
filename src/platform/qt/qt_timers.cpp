#include "platform/qt/qt_timers.h"

#include <algorithm>

#include "platform/back_end.h"

namespace tidex {
namespace {

QTimer* newPreciseTimer() {
  auto* timer = new QTimer;
  timer->setTimerType(Qt::PreciseTimer);
  return timer;
}

// The timer may be dropped from inside its own timeout: delete it from the event loop.
void dispose(QPointer<QTimer>& timer) {
  if (!timer) return;
  timer->stop();
  timer->disconnect();
  timer->deleteLater();
  timer = nullptr;
}

}  // namespace

TimerPeer::TimerPeer(Timer& timer) : timer_(timer), qtimer_(newPreciseTimer()) {
  connect(qtimer_, &QTimer::timeout, this, [this] { BackEnd::elapsed(timer_); });
  sync();
}

TimerPeer::~TimerPeer() { dispose(qtimer_); }

void TimerPeer::sync() {
  if (!qtimer_) return;
  if (timer_.running()) {
    qtimer_->start(timer_.Interval());
  } else {
    qtimer_->stop();
  }
}

QtTimerHandle::QtTimerHandle(std::chrono::milliseconds period, std::function<void()> tick)
    : qtimer_(newPreciseTimer()) {
  QObject::connect(qtimer_, &QTimer::timeout, qtimer_, std::move(tick));
  qtimer_->start(std::max(period, std::chrono::milliseconds{1}));
}

QtTimerHandle::~QtTimerHandle() { dispose(qtimer_); }

}  // namespace tidex
