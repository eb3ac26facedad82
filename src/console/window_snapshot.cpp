#include "console/window_snapshot.h"

#include "common/monitor_status.h"
#include "console/form1.h"
#include "platform/desktop.h"
#include "platform/form.h"
#include "platform/text_box.h"

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

QString TakeWindowSnapshot(TextBox& field) {
  field.setText(QString());
  // The console's caption stays refused: a second copy of the program finds the console by it,
  // so no monitor may take it.
  field.setText(Form1::ConsoleCaption() + QStringLiteral("\r\n") + RunningMonitorCaptions());
  return field.Text();
}

bool IsRunning(const QString& snapshot, const QString& item) {
  return snapshot.contains(item, Qt::CaseSensitive);
}

}  // namespace tidex
