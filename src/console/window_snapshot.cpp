#include "console/window_snapshot.h"

#include "platform/desktop.h"
#include "platform/form.h"
#include "platform/text_box.h"

namespace tidex {

QString OpenWindowCaptions() {
  QString text;
  for (const Form* window : Desktop::current().windows().all()) {
    text += window->Caption() + QStringLiteral("\r\n");
  }
  return text;
}

QString TakeWindowSnapshot(TextBox& field) {
  field.setText(QString());
  field.setText(OpenWindowCaptions());
  return field.Text();
}

bool IsRunning(const QString& snapshot, const QString& item) {
  return snapshot.contains(item, Qt::CaseSensitive);
}

}  // namespace tidex
