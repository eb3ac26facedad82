#include "console/word_difference.h"

#include <algorithm>
#include <vector>

#include <dtl/dtl.hpp>

namespace tidex {
namespace {

// Characters from the CJK radicals onwards (ideographs, kana, full-width forms) are words of
// their own, since such text has no blanks between its words.
bool standsAlone(QChar c) { return c.unicode() >= 0x2E80 || c.isHighSurrogate(); }

std::vector<QString> wordsOf(const QString& text) {
  std::vector<QString> words;
  qsizetype i = 0;
  while (i < text.size()) {
    const QChar c = text[i];
    qsizetype end = i + 1;
    if (c.isSpace()) {
      while (end < text.size() && text[end].isSpace() && text[end] != QLatin1Char('\n') &&
             c != QLatin1Char('\n')) {
        ++end;
      }
    } else if (c.isHighSurrogate()) {
      if (end < text.size() && text[end].isLowSurrogate()) ++end;
    } else if (!standsAlone(c)) {
      while (end < text.size() && !text[end].isSpace() && !standsAlone(text[end])) ++end;
    }
    words.push_back(text.mid(i, end - i));
    i = end;
  }
  return words;
}

// Appends a word to the runs, joining it to the last run when that is marked the same way.
void append(TextRuns& runs, const QString& word, bool marked) {
  marked = marked && !word.front().isSpace();
  if (!runs.empty() && runs.back().marked == marked) {
    runs.back().text += word;
  } else {
    runs.push_back({word, marked});
  }
}

bool isBlanks(const TextRun& run) {
  return std::all_of(run.text.begin(), run.text.end(),
                     [](QChar c) { return c.isSpace() && c != QLatin1Char('\n'); });
}

// Blanks between two marked stretches on one line join them into one ("EVER GIVEN").
TextRuns joinAcrossBlanks(const TextRuns& runs) {
  TextRuns joined;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const bool bridge = !runs[i].marked && isBlanks(runs[i]) && i > 0 && i + 1 < runs.size() &&
                        runs[i - 1].marked && runs[i + 1].marked;
    if ((bridge || runs[i].marked) && !joined.empty() && joined.back().marked) {
      joined.back().text += runs[i].text;
    } else {
      joined.push_back(runs[i]);
    }
  }
  return joined;
}

}  // namespace

WordDifference CompareWords(const QString& before, const QString& after) {
  dtl::Diff<QString> diff(wordsOf(before), wordsOf(after));
  diff.compose();
  WordDifference result;
  for (const auto& [word, info] : diff.getSes().getSequence()) {
    if (info.type != dtl::SES_ADD) append(result.before, word, info.type == dtl::SES_DELETE);
    if (info.type != dtl::SES_DELETE) append(result.after, word, info.type == dtl::SES_ADD);
  }
  return {joinAcrossBlanks(result.before), joinAcrossBlanks(result.after)};
}

}  // namespace tidex
