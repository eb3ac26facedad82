#pragma once

#include <functional>

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>

#include "platform/form.h"

namespace tidex {

// Turns the end of the desktop session and SIGTERM / SIGINT into close requests: ending runs
// from the event loop with UnloadReason::SessionEnd (session) or UnloadReason::Terminated
// (signals).
// One instance per process.
class QtSessionEnd final : public QObject {
 public:
  explicit QtSessionEnd(std::function<void(UnloadReason reason)> ending);
  ~QtSessionEnd() override;

 private:
  void signalled();

  std::function<void(UnloadReason)> ending_;
  QPointer<QSocketNotifier> notifier_;
};

}  // namespace tidex
