#include <gtest/gtest.h>

#include "monitors/pilotboard/board_change.h"
#include "monitors/pilotboard/board_text.h"
#include "test_printers.h"

using namespace tidex;

namespace {

const QString kHeadings = "船名\t碼頭\t抵港時間\t船席\t引水人\t引水\n";
const QString kHarmony = "YM HARMONY\t1108\t14:30\t北1\t0037王大明\t/Y\n";
const QString kEver = "EVER GIVEN\t1108\t16:00\t北2\t免引水\t/N\n";

QString wharfText(const QString& page) {
  return NormaliseBoardText(page, {"0037王大明", "0041林家豪"});
}

QString summaryOf(const BoardPageText& before, const BoardPageText& after) {
  return DescribeBoardChange(wharfText(before.text), wharfText(after.text), before, after,
                             wharfText)
      .summary;
}

}  // namespace

// What the line beneath an alerting page says, for the changes a board makes.
TEST(DescribeBoardChange, TellsTheRowByItsVesselAndTheColumnsWhoseComparedTextChanged) {
  struct Case {
    const char* what;
    QString latest;  // the page after kHeadings + kHarmony + kEver
    QString summary;
  };
  const QString before = kHeadings + kHarmony + kEver;
  const Case cases[] = {
      {"a time moved", kHeadings + QString(kHarmony).replace("14:30", "14:40") + kEver,
       "YM HARMONY　抵港時間 14:30 → 14:40"},
      {"berth and pilot together: the known pilot is left out",
       kHeadings + QString(kHarmony).replace("北1", "南3").replace("0037王大明", "0041林家豪") +
           kEver,
       "YM HARMONY　船席 北1 → 南3"},
      {"two rows",
       kHeadings + QString(kHarmony).replace("14:30", "15:00") +
           QString(kEver).replace("北2", "北5"),
       "YM HARMONY　抵港時間 14:30 → 15:00；EVER GIVEN　船席 北2 → 北5"},
      {"a vessel gone and one new",
       kHeadings + kHarmony + "ONE APUS\t1108\t09:00\t北2\t免引水\t/N\n",
       "ONE APUS　新增；EVER GIVEN　移除"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const BoardChange change = DescribeBoardChange(wharfText(before), wharfText(c.latest), {before},
                                                   {c.latest}, wharfText);
    EXPECT_EQ(change.summary, c.summary);
    EXPECT_FALSE(change.before.isEmpty() && change.after.isEmpty());
  }
  // A page without a table: its first changed line, old and new.
  const QString page = "status: 航行中\n";
  const QString latest = "status: 靠泊中\n";
  EXPECT_EQ(summaryOf({page}, {latest}), "status: 航行中 → status: 靠泊中");
}

// Headings come only from a row that is one; a board without one names the cells alone.
TEST(DescribeBoardChange, TakesHeadingsOnlyFromARowThatIsOne) {
  const QString rows = QString(kEver) + kHarmony;
  const QString moved = QString(kEver).replace("16:00", "16:40") + kHarmony;
  const QStringList headingCells = kHeadings.trimmed().split('\t');
  const QString digitHeadings = "船名\t碼頭\t0800-2400\t船席\t引水人\t引水\n";
  struct Case {
    const char* what;
    BoardPageText before, after;
    QString summary;
  };
  const Case cases[] = {
      {"no heading row: the first data row is no heading",
       {rows},
       {moved},
       "EVER GIVEN　16:00 → 16:40"},
      {"heading cells of the page",
       {digitHeadings + rows, headingCells},
       {digitHeadings + moved, QStringList(headingCells).replaceInStrings("抵港時間", "0800-2400")},
       "EVER GIVEN　0800-2400 16:00 → 16:40"},
      {"a plain row of words on both pages",
       {kHeadings + rows},
       {kHeadings + moved},
       "EVER GIVEN　抵港時間 16:00 → 16:40"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(summaryOf(c.before, c.after), c.summary);
  }
}
