#include "common/timed_box.h"
#include "console/console_access.h"
#include "console/form1.h"
#include "monitors/pilotboard/board_monitor.h"

namespace tidex {

// The window goes in any case; it stays until its question has been answered or has timed out.
void BoardMonitor::Form_Unload(int& cancel) {
  cancel = 1;
  if (closing_) return;
  closing_ = true;
  CloseSequence();
}

Task BoardMonitor::CloseSequence() {
  Timer2.setEnabled(false);
  mHide.setEnabled(false);
  WatchedItemField(Console()).setText(Caption());
  Hide();
  const int answer = co_await ShowTimedBox(ReopenQuestion(), YesNoCancel);
  if (answer == BoxYes) ReopenTimer(Console()).setEnabled(true);
  unloadWithoutEvents();
}

}  // namespace tidex
