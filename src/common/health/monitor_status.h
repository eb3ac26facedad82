#pragma once

#include <QDateTime>
#include <QString>

namespace tidex {

// What a monitor is doing, as the status window lists it.
struct MonitorStatus {
  enum class State { Watching, Alerting, Stopped, Found, Blind };

  QString kind;  // as the user reads it: "碼頭", "船名", "網址", "海掛"
  State state = State::Watching;
  QString blindLine;         // why it cannot read, while blind
  QDateTime blindSince;      // the first read that failed, while blind
  QDateTime lastGoodRead;    // invalid before the first
  QDateTime lastEvent;       // the last change or finding; invalid when none
  QString lastEventSummary;  // what it was
  bool notificationPending = false;
};

// How the open monitors stand, counted: what a heartbeat reports.
struct WatchCounts {
  int open = 0;
  int watching = 0;
  int alerting = 0;
  int blind = 0;
};

// A window that watches something and can say how it stands. The console's status window
// finds the monitors among the open windows by this interface.
class WatchingWindow {
 public:
  virtual ~WatchingWindow() = default;
  virtual MonitorStatus monitorStatus() const = 0;

 protected:
  WatchingWindow() = default;
  WatchingWindow(const WatchingWindow&) = default;
  WatchingWindow& operator=(const WatchingWindow&) = default;
};

}  // namespace tidex
