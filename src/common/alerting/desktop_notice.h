#pragma once

#include <QString>

#include "common/console_state.h"

namespace tidex {

// A desktop notification from the tray icon when "顯示通知" is ticked; without sound when
// "靜音模式" is. Nothing shows while the tray icon is not shown.
void NotifyDesktop(ConsoleState& console, const QString& title, const QString& text);

}  // namespace tidex
