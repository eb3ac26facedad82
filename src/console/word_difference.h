#pragma once

#include <QString>

#include "platform/text_pane.h"

namespace tidex {

// The two sides of a difference, each as runs with what is not on the other side marked.
struct WordDifference {
  TextRuns before;
  TextRuns after;
};

// Compares two texts word by word: a word is a run of characters between blanks, except that
// ideographs and other characters of scripts written without blanks (Chinese) count one by
// one. Blanks and line breaks are never marked.
WordDifference CompareWords(const QString& before, const QString& after);

}  // namespace tidex
