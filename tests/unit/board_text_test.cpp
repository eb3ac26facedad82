#include <gtest/gtest.h>

#include "monitors/pilotboard/board_text.h"
#include "test_printers.h"

using namespace tidex;

namespace {
const QStringList kPilots{"0035陳志明", "0037王大明", "0041林家豪"};
}

TEST(NormaliseBoardText, ExamplesAndOrderDependentSteps) {
  struct Case {
    QString page;
    QString normalised;
  };
  const Case cases[] = {
      {"最近動態 ABC-1 12:30/Y", "11230\r\n"},
      {"引水資訊看板(UA1006)\r\n最近動態\r\n", ""},
      {"YM HARMONY 1108 12:30 0037\r\n王大明/Y", "11081230\r\n"},  // pilot over two lines
      {"YM HARMONY\t12:30", "\t1230"},                             // cell tabs are not removed
      {"0037 王大明", ""},                                         // blanks inside
      {"/YES/NO", "\r\n\r\n"},  // the marks become breaks before letters go
      {"0000引水人 免引水", ""},
      {"0036張三 0040李四", "0036張三0040李四"},  // numbers outside the list stay
      {"2026/12/08 05:01 -> 靠泊中", "2026/12/080501靠泊中"},
      {QString("\u3000航\u00A0班"), "航班"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NormaliseBoardText(c.page, kPilots), c.normalised) << c.page.toStdString();
}

TEST(NormaliseBoardText, PilotSwapsWithinTheListAndExemptionLeaveTheTextUnchanged) {
  const QString before =
      "YM HARMONY 1108 14:30 0035陳志明 /Y\r\nEVER GIVEN 1108 16:00 0000引水人 /Y";
  const QString after = "YM HARMONY 1108 14:30 0037王大明 /Y\r\nEVER GIVEN 1108 16:00 免引水 /Y";
  EXPECT_EQ(NormaliseBoardText(before, kPilots), NormaliseBoardText(after, kPilots));
  EXPECT_NE(NormaliseBoardText(before, kPilots),
            NormaliseBoardText(QString(before).replace("14:30", "14:40"), kPilots));
  EXPECT_NE(NormaliseBoardText(before, kPilots),
            NormaliseBoardText(QString(before).replace("0035陳志明", "0036張三"), kPilots));
}

TEST(NormaliseVesselBoardText, KeepsHeadingLettersAndPunctuation) {
  EXPECT_EQ(NormaliseVesselBoardText("最近動態 ABC-1 12:30/Y", kPilots), "最近動態ABC-112:30\r\n");
  EXPECT_EQ(NormaliseVesselBoardText("引水資訊看板(UA1006) YM HARMONY 0037王大明 免引水", kPilots),
            "YMHARMONY");
  EXPECT_NE(NormaliseVesselBoardText("YM HARMONY 15:00", kPilots),
            NormaliseVesselBoardText("YM HARMONX 15:00", kPilots));
  EXPECT_EQ(NormaliseBoardText("YM HARMONY 15:00", kPilots),
            NormaliseBoardText("YM HARMONX 15:00", kPilots));
}

// The board is known by its search form: what it lists never makes it an error page; once it
// has shown the form, a page without it (maintenance, blank) is not the board; a board that
// never shows it is read for the error texts, and only on its own server.
TEST(ReadBoardPage, TheBoardByItsFormOtherPagesByTheirErrorTexts) {
  using Verdict = BoardPageReading::Verdict;
  struct Case {
    QString text;
    LoadResult load;
    bool form, formSeen, onServer;
    Verdict verdict;
  };
  const LoadResult ok{false, 200};
  const Case cases[] = {
      {"MSC 501 1108 15:00 取消", ok, true, false, true, Verdict::Board},
      {"MSC 501 1108 15:00 取消", ok, true, false, false, Verdict::Board},
      {"YM HARMONY 1108 15:00 05:01 1500 berth 15012", ok, false, false, true, Verdict::Board},
      {"HTTP 500 Internal Server Error", ok, false, false, true, Verdict::ErrorPage},
      {"Error 501: not implemented", ok, false, false, true, Verdict::ErrorPage},
      {"無法顯示網頁", ok, false, false, true, Verdict::ErrorPage},
      {"查詢已取消", ok, false, false, true, Verdict::ErrorPage},
      {"請登入", ok, false, false, false, Verdict::Elsewhere},
      {"board", LoadResult{true, 0}, true, false, true, Verdict::ErrorPage},
      {"board", LoadResult{true, 404}, true, false, true, Verdict::ErrorPage},
      {"board", LoadResult{false, 503}, true, false, true, Verdict::ErrorPage},
      {"", LoadResult{true, 0, true}, false, false, true, Verdict::Unread},
      {"系統維護中，請稍後再試", ok, false, true, true, Verdict::Elsewhere},
      {"", ok, false, true, true, Verdict::Elsewhere},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadBoardPage(c.text, c.load, c.form, c.formSeen, c.onServer).verdict, c.verdict)
        << c.text.toStdString() << " form " << c.form << " on server " << c.onServer;
  }
}
