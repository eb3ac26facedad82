#include <gtest/gtest.h>

#include <QStringList>

#include "console/word_difference.h"

using namespace tidex;

namespace {

QStringList marked(const TextRuns& runs) {
  QStringList texts;
  for (const TextRun& run : runs) {
    if (run.marked) texts << run.text;
  }
  return texts;
}

QString text(const TextRuns& runs) {
  QString all;
  for (const TextRun& run : runs) all += run.text;
  return all;
}

}  // namespace

// What the change-log window marks between an entry's lines before and after.
TEST(WordDifference, MarksWholeWordsBetweenBlanksAndChineseCharacterByCharacter) {
  struct Case {
    const char* name;
    QString before;
    QString after;
    QStringList removed;
    QStringList added;
  };
  const Case cases[] = {
      {"a time", "YM HARMONY 抵港 14:30", "YM HARMONY 抵港 14:40", {"14:30"}, {"14:40"}},
      {"one character of a Chinese word", "抵港時間 14:30", "離港時間 14:30", {"抵"}, {"離"}},
      {"a vessel of two words",
       "EVER GIVEN　靠泊",
       "YM HARMONY　靠泊",
       {"EVER GIVEN"},
       {"YM HARMONY"}},
      {"a line added",
       "1108 YM HARMONY\n",
       "1108 YM HARMONY\n1110 EVER GIVEN",
       {},
       {"1110 EVER GIVEN"}},
      {"a line removed", "A 1\nB 2", "A 1", {"B 2"}, {}},
      {"nothing changed", "引水 0037", "引水 0037", {}, {}},
      {"from nothing", "", "引水 0037", {}, {"引水 0037"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WordDifference d = CompareWords(c.before, c.after);
    EXPECT_EQ(text(d.before), c.before);
    EXPECT_EQ(text(d.after), c.after);
    EXPECT_EQ(marked(d.before), c.removed);
    EXPECT_EQ(marked(d.after), c.added);
  }
}
