#pragma once

#include "monitors/pilotboard/board_monitor.h"

namespace tidex {

const BoardMonitorKind& WharfMonitorKind();
const BoardMonitorKind& VesselMonitorKind();
const BoardMonitorKind& UrlMonitorKind();

// The wharf monitor: watches the pilot board for one wharf code.
class Form6 final : public BoardMonitor {
 public:
  explicit Form6(ConsoleState& console) : BoardMonitor(console, WharfMonitorKind()) {}
};

// The vessel monitor: watches the pilot board for one vessel name.
class Form3 final : public BoardMonitor {
 public:
  explicit Form3(ConsoleState& console) : BoardMonitor(console, VesselMonitorKind()) {}
};

// The URL monitor: watches the page at an address the user typed.
class Form7 final : public BoardMonitor {
 public:
  explicit Form7(ConsoleState& console) : BoardMonitor(console, UrlMonitorKind()) {}
};

}  // namespace tidex
