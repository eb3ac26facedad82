#include "common/alerting/alert_tones.h"

#include "platform/desktop.h"

namespace tidex {

void PlayAlertTones(ConsoleState& console) {
  if (console.SilentMode().Value() != 0) return;
  Desktop::current().beep(1000, 300ms);
  Desktop::current().beep(3000, 300ms);
}

}  // namespace tidex
