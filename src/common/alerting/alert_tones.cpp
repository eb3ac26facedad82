#include "common/alerting/alert_tones.h"

#include <chrono>

#include "platform/desktop.h"

namespace tidex {

using namespace std::chrono_literals;

void PlayAlertTones(ConsoleState& console) {
  if (console.silentMode()) return;
  Desktop::current().beep(1000, 300ms);
  Desktop::current().beep(3000, 300ms);
}

}  // namespace tidex
