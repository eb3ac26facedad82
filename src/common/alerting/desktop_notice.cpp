#include "common/alerting/desktop_notice.h"

#include "platform/desktop.h"

namespace tidex {

void NotifyDesktop(ConsoleState& console, const QString& title, const QString& text) {
  if (console.ShowNotification().Value() != 1) return;
  Desktop::current().trayNotify(title, text, console.SilentMode().Value() == 1);
}

}  // namespace tidex
