#pragma once

#include <chrono>
#include <functional>

#include <QObject>
#include <QPointer>
#include <QTimer>

#include "platform/desktop.h"

class QWebEnginePage;

namespace tidex {

// Renders a page of a few bytes on a page of its own and reads it back: whether the browser
// engine can still make and use a renderer. Answers once, from the dispatch loop, unless
// destroyed first.
class QtEngineProbe final : public QObject, public QueuedCall {
 public:
  QtEngineProbe(std::chrono::milliseconds limit, std::function<void(bool)> answered);
  ~QtEngineProbe() override;

 private:
  void finish(bool works);

  std::function<void(bool)> answered_;
  QPointer<QWebEnginePage> page_;
  QTimer limit_;
  bool done_ = false;
};

}  // namespace tidex
