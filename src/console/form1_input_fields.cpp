#include "common/blanks_and_breaks.h"
#include "console/form1.h"

namespace tidex {
namespace {

// Blanks, carriage returns, line feeds and no-break spaces, removed in this order, the text
// written back after each; once clean, a pass changes nothing and fires no further Change.
void removeBlanksAndBreaks(TextBox& field) {
  for (char16_t c : kBlanksAndBreaks) field.setText(QString(field.Text()).remove(QChar(c)));
}

}  // namespace

void Form1::SelectAllOnFocus(TextBox& field) {
  field.setSelStart(0);
  field.setSelLength(static_cast<int>(field.Text().size()));
}

void Form1::Text3_Change() { removeBlanksAndBreaks(Text3); }

void Form1::Text5_Change() { removeBlanksAndBreaks(Text5); }

}  // namespace tidex
