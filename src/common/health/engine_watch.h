#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <QString>

#include "platform/desktop.h"

namespace tidex {

class ConsoleState;

// Whether the browser engine still renders pages, for the whole program. A window whose page
// was not read within one of its reload periods gives its browser a fresh page and reports it
// here; the watch then has the engine render a page of its own. When even that fails, the
// program says so once for the outage (a beep, a timed box, the tray tip) and asks the engine
// again every kRetry until a page renders, when the tray tip goes back.
class EngineWatch final {
 public:
  static const QString kNotice;
  static constexpr std::chrono::seconds kRetry{30};

  // normalTip: the tray tip while the engine works.
  EngineWatch(ConsoleState& console, QString normalTip);
  ~EngineWatch();
  EngineWatch(const EngineWatch&) = delete;
  EngineWatch& operator=(const EngineWatch&) = delete;

  // A page of some window was not read within its reload period.
  void PageStalled();
  bool Outage() const { return outage_; }
  // Runs when an outage begins (true) and when it ends (false).
  std::function<void(bool)> onOutageChanged;

 private:
  void probe();
  void answered(bool works);

  ConsoleState& console_;
  QString normalTip_;
  bool outage_ = false;
  std::unique_ptr<QueuedCall> probe_;  // the engine is being asked
  std::unique_ptr<TimerHandle> retry_;
};

}  // namespace tidex
