#include "console/window_snapshot.h"

#include "common/health/monitor_status.h"
#include "console/console_window.h"
#include "platform/desktop.h"
#include "platform/form.h"

namespace tidex {

std::vector<Form*> OpenMonitors() {
  std::vector<Form*> monitors;
  for (Form* window : Desktop::current().windows().all()) {
    if (!window->isUnloaded() && dynamic_cast<WatchingWindow*>(window)) {
      monitors.push_back(window);
    }
  }
  return monitors;
}

QString RunningMonitorCaptions() {
  QString text;
  for (const Form* monitor : OpenMonitors()) text += monitor->Caption() + QStringLiteral("\r\n");
  return text;
}

QString TakeWindowSnapshot() {
  // The console's caption stays refused: a second copy of the program finds the console by it,
  // so no monitor may take it.
  return ConsoleWindow::ConsoleCaption() + QStringLiteral("\r\n") + RunningMonitorCaptions();
}

bool IsRunning(const QString& snapshot, const QString& item) {
  return snapshot.contains(item, Qt::CaseSensitive);
}

}  // namespace tidex
