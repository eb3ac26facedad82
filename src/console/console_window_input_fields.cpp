#include "common/text/blanks_and_breaks.h"
#include "console/console_window.h"

namespace tidex {
namespace {

// Blanks, carriage returns, line feeds and no-break spaces, removed in this order, the text
// written back after each; once clean, a pass changes nothing and fires no further Change.
void removeBlanksAndBreaks(TextBox& field) {
  for (char16_t c : kBlanksAndBreaks) field.setText(QString(field.Text()).remove(QChar(c)));
}

}  // namespace

void ConsoleWindow::selectAllOnFocus(TextBox& field) {
  field.setSelStart(0);
  field.setSelLength(static_cast<int>(field.Text().size()));
}

void ConsoleWindow::onRegistrationFieldChange() { removeBlanksAndBreaks(registrationField); }

void ConsoleWindow::onBatchLineChange() { removeBlanksAndBreaks(batchLineField); }

}  // namespace tidex
