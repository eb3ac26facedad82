#include "common/alerting/timed_box.h"

namespace tidex {

ShowTimedBox::ShowTimedBox(QString prefix, BoxStyle style, QString title)
    : prefix_(std::move(prefix)),
      box_(CountdownText(prefix_, kCountdown), style, std::move(title),
           [this](MessageBoxPeer& box) {
             countdown_ = Desktop::current().startTimer(kTick, [this, &box] { tick(box); });
           }) {}

QString ShowTimedBox::CountdownText(const QString& prefix, std::chrono::milliseconds remaining) {
  return prefix + QString::number(static_cast<double>(remaining.count()) * 0.001, 'g', 15) +
         QStringLiteral(" 秒");
}

void ShowTimedBox::tick(MessageBoxPeer& box) {
  if (remaining_ <= std::chrono::milliseconds::zero()) return;  // closed; stops on resuming
  remaining_ -= kTick;
  if (remaining_ <= std::chrono::milliseconds::zero()) box.close();
  box.setText(CountdownText(prefix_, remaining_));
}

BoxResult ShowTimedBox::await_resume() {
  countdown_.reset();  // an early answer stops this box's countdown
  return box_.await_resume();
}

}  // namespace tidex
