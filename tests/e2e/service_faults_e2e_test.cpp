// The real program's wharf monitor opened while the board misbehaves: it keeps running, puts
// nothing else on screen and gives no alert. (What it compares through a fault and after it is
// told by the scenario tests of the same faults.)
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "board_path.h"
#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kConsoleCaption = ConsoleSession::consoleCaption();

struct FaultCase {
  const char* kind;
  QString asked;  // a request the fault leads the browser to make
};

class BoardFaultsE2E : public testing::TestWithParam<FaultCase> {};

TEST_P(BoardFaultsE2E, AWharfMonitorOpenedOnAFaultyBoardStaysQuietAndShowsNothingElse) {
  const FaultCase c = GetParam();
  ConsoleSession session;
  const VirtualDisplay& x = session.display;
  const SitesRunner& sites = session.sites;
  ASSERT_TRUE(sites.control(QStringLiteral("/_control/faults/board?kind=") + c.kind));
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();

  const int windows = x.allVisibleWindows().size();
  ASSERT_TRUE(session.clickConsole("push button", QStringLiteral("碼頭")));  // it holds 1108
  ASSERT_TRUE(waitUntil([&] { return x.visibleWindows("1108").size() == 1; }, 20s))
      << session.program.output().data();
  ASSERT_TRUE(waitUntil([&] { return !sites.requestLog().filter(c.asked).isEmpty(); }, 20s));
  std::this_thread::sleep_for(5s);  // the page's dialog loop goes round fifty times

  EXPECT_TRUE(session.program.running());
  EXPECT_EQ(x.allVisibleWindows().size(), windows + 1) << "something else opened";
  EXPECT_TRUE(sites.requestLog().filter("/elsewhere/popup").isEmpty()) << "a page's window";
  ASSERT_TRUE(session.focus(kConsoleCaption));

  // The board back: a held request gets it at once, and it alerts nobody.
  ASSERT_TRUE(sites.control("/_control/faults/reset"));
  std::this_thread::sleep_for(3s);
  EXPECT_EQ(x.focusedWindowTitle(), kConsoleCaption) << "an alert brought the monitor forward";
  EXPECT_TRUE(session.program.running());
}

INSTANTIATE_TEST_SUITE_P(Faults, BoardFaultsE2E,
                         testing::Values(FaultCase{"never", kBoardPath},
                                         FaultCase{"download", kBoardPath},
                                         FaultCase{"dialogs", kBoardPath},
                                         FaultCase{"redirect-away", "/elsewhere/"}),
                         [](const auto& instance) {
                           std::string name = instance.param.kind;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
