#include "common/alerting/desktop_notice.h"

#include "platform/desktop.h"

namespace tidex {

void NotifyDesktop(ConsoleState& console, const QString& title, const QString& text) {
  if (!console.showsNotifications()) return;
  Desktop::current().trayNotify(title, text, console.silentMode());
}

}  // namespace tidex
