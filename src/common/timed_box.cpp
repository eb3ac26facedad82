#include "common/timed_box.h"

#include <chrono>

namespace tidex {

ShowTimedBox::ShowTimedBox(QString prefix, int buttons, QString title)
    : prefix_(std::move(prefix)),
      box_(CountdownText(prefix_, kCountdownMs), buttons, std::move(title),
           [this](MessageBoxPeer& box) {
             countdown_ = Desktop::current().startTimer(std::chrono::milliseconds{1000},
                                                        [this, &box] { tick(box); });
           }) {}

QString ShowTimedBox::CountdownText(const QString& prefix, int remainingMs) {
  return prefix + QString::number(remainingMs * 0.001, 'g', 15) + QStringLiteral(" 秒");
}

void ShowTimedBox::tick(MessageBoxPeer& box) {
  if (remainingMs_ <= 0) return;  // closed; the timer goes when the handler resumes
  remainingMs_ -= 1000;
  if (remainingMs_ <= 0) box.close();
  box.setText(CountdownText(prefix_, remainingMs_));
}

int ShowTimedBox::await_resume() {
  countdown_.reset();  // an early answer stops this box's countdown
  return box_.await_resume();
}

}  // namespace tidex
