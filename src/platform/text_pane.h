#pragma once

#include <vector>

#include <QString>

#include "platform/control.h"

namespace tidex {

// A stretch of a text pane's text, marked (highlighted) or not. Line breaks are "\n" in it.
struct TextRun {
  QString text;
  bool marked = false;
  bool operator==(const TextRun&) const = default;
};
using TextRuns = std::vector<TextRun>;

// A read-only pane of text with marked stretches, such as the words that changed.
class TextPane final : public Control {
 public:
  // How marked stretches look: what was taken out, or what came in.
  enum class Marking { Removed, Added };

  TextPane(Form& owner, QString name, Marking marking = Marking::Added);

  Marking marking() const { return marking_; }
  const TextRuns& Runs() const { return runs_; }
  void setRuns(TextRuns runs);
  // The text without its marks.
  QString Text() const;

 private:
  Marking marking_;
  TextRuns runs_;
};

}  // namespace tidex
