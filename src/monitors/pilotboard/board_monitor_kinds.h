#pragma once

#include "monitors/pilotboard/board_monitor.h"

namespace tidex {

const BoardMonitorKind& WharfMonitorKind();
const BoardMonitorKind& VesselMonitorKind();
const BoardMonitorKind& UrlMonitorKind();

// The wharf monitor: watches the pilot board for one wharf code.
class WharfMonitor final : public BoardMonitor {
 public:
  explicit WharfMonitor(ConsoleState& console) : BoardMonitor(console, WharfMonitorKind()) {}
};

// The vessel monitor: watches the pilot board for one vessel name.
class VesselMonitor final : public BoardMonitor {
 public:
  explicit VesselMonitor(ConsoleState& console) : BoardMonitor(console, VesselMonitorKind()) {}
};

// The URL monitor: watches the page at an address the user typed.
class UrlMonitor final : public BoardMonitor {
 public:
  explicit UrlMonitor(ConsoleState& console) : BoardMonitor(console, UrlMonitorKind()) {}
};

}  // namespace tidex
