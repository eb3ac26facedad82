#include "platform/text_pane.h"

namespace tidex {

TextPane::TextPane(Form& owner, QString name, Marking marking)
    : Control(owner, std::move(name), Kind::TextPane), marking_(marking) {}

void TextPane::setRuns(TextRuns runs) {
  if (runs_ == runs) return;
  runs_ = std::move(runs);
  changed();
}

QString TextPane::Text() const {
  QString text;
  for (const TextRun& run : runs_) text += run.text;
  return text;
}

}  // namespace tidex
