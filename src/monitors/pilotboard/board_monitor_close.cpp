#include "common/alerting/timed_box.h"
#include "monitors/pilotboard/board_monitor.h"

namespace tidex {

// The window goes in any case; it stays until its question has been answered or has timed out.
void BoardMonitor::onUnload(int& cancel) {
  cancel = 1;
  if (closing_) return;
  closing_ = true;
  closeSequence();
}

Task BoardMonitor::closeSequence() {
  alertTimer.setEnabled(false);
  hideMenu.setEnabled(false);
  console_.setWatchedItem(QLatin1String(kind_.journalKind), Caption());
  Hide();
  const BoxResult answer = co_await ShowTimedBox(kind_.reopenQuestion, BoxButtons::YesNoCancel);
  if (answer == BoxResult::Yes) console_.reopenSoon(QLatin1String(kind_.journalKind));
  unloadWithoutEvents();
}

}  // namespace tidex
