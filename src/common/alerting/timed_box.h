#pragma once

#include <chrono>
#include <coroutine>
#include <memory>

#include <QString>

#include "platform/desktop.h"
#include "platform/message_box.h"

namespace tidex {

// co_await ShowTimedBox(prefix, style): the standard box with its text ending in a countdown
// ("prefix" 9 " 秒" … 1 " 秒") that closes itself after nine seconds, giving OK for an OK box
// and Cancel for a box with a Cancel button. An answer returns at once. Each box counts down
// by itself, so several open boxes all close in time. A handler destroyed while asking closes
// its box and stops its countdown.
class ShowTimedBox final {
 public:
  ShowTimedBox(QString prefix, BoxStyle style, QString title = QStringLiteral("訊息"));
  ShowTimedBox(const ShowTimedBox&) = delete;
  ShowTimedBox& operator=(const ShowTimedBox&) = delete;

  bool await_ready() const noexcept { return false; }
  void await_suspend(std::coroutine_handle<> waiting) { box_.await_suspend(waiting); }
  BoxResult await_resume();

  static constexpr std::chrono::milliseconds kCountdown{9000};
  static constexpr std::chrono::milliseconds kTick{1000};
  // The prefix, the whole seconds left and " 秒".
  static QString CountdownText(const QString& prefix, std::chrono::milliseconds remaining);

 private:
  void tick(MessageBoxPeer& box);

  QString prefix_;
  std::chrono::milliseconds remaining_ = kCountdown;
  MessageBox box_;
  std::unique_ptr<TimerHandle> countdown_;  // declared last: stops before the box goes
};

}  // namespace tidex
