#pragma once

#include <functional>

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>

namespace tidex {

// Turns the end of the desktop session and SIGTERM / SIGINT into close requests: ending runs
// from the event loop with Form::AppWindows (session) or Form::AppTaskManager (signals).
// One instance per process.
class QtSessionEnd final : public QObject {
 public:
  explicit QtSessionEnd(std::function<void(int reason)> ending);
  ~QtSessionEnd() override;

 private:
  void signalled();

  std::function<void(int)> ending_;
  QPointer<QSocketNotifier> notifier_;
};

}  // namespace tidex
