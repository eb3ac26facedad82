#include <gtest/gtest.h>

#include <QUrl>

#include "board_path.h"
#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

// The board's server has moved it to another host name, and it lists a vessel named with 501
// and a cancelled call: the wharf monitor follows it, says once where it answers now, and
// alerts when a time moves.
TEST(BoardReadingEndToEnd, AMovedBoardListingA501VesselIsFollowedAndAlertsOnAMovedTime) {
  ConsoleSession session;
  SitesRunner& sites = session.sites;
  ASSERT_TRUE(sites.started());
  ASSERT_TRUE(sites.control(
      "/_control/board/rename?wharf=1108&vessel=WAN%20HAI%20316&name=MSC%20ARIES%20501"));
  ASSERT_TRUE(sites.control(
      "/_control/board/status?wharf=1108&vessel=EVER%20LAUREL&status=%E5%8F%96%E6%B6%88"));
  ASSERT_TRUE(sites.control("/_control/faults/board?kind=moved"));
  ASSERT_TRUE(session.start()) << session.program.output().data();

  ASSERT_TRUE(session.pressConsoleButton(QStringLiteral("碼頭")));  // the field holds 1108
  const QString movedTo =
      QStringLiteral("看板已移至 http://localhost:%1").arg(QUrl(sites.base()).port());
  ASSERT_TRUE(waitUntil([&] { return !session.journalSummaries("moved").isEmpty(); }, 30s))
      << session.program.output().data();
  EXPECT_EQ(session.journalSummaries("moved"), QStringList{movedTo});
  // The query, the same query where the board now answers, and the search sent there.
  ASSERT_TRUE(waitUntil([&] { return sites.requestLog().filter(kBoardPath).size() >= 3; }, 20s));

  ASSERT_TRUE(sites.control("/_control/board/time?wharf=1108&vessel=YM%20HARMONY&time=23:45"));
  EXPECT_TRUE(waitUntil([&] { return !session.journalSummaries("alert").isEmpty(); }, 80s))
      << session.program.output().data();
  EXPECT_EQ(session.journalSummaries("alert"),
            QStringList{QStringLiteral("YM HARMONY　抵港時間 14:30 → 23:45")});
  EXPECT_EQ(session.journalSummaries("moved").size(), 1) << "said once";
  EXPECT_FALSE(session.program.output().contains("qt.webenginecontext"))
      << "the engine's set-up report is not for the user's terminal";
}
