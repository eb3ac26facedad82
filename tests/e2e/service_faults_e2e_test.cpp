// The real program's wharf monitor opened while the board misbehaves: it keeps running, puts
// nothing else on screen and gives no alert. (What it compares through a fault and after it is
// told by the scenario tests of the same faults.)
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "accessibility_bus.h"
#include "program_runner.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kConsoleCaption = QStringLiteral("准單查詢 1.0.30");

struct FaultCase {
  const char* kind;
  const char* asked;  // a request the fault leads the browser to make
};

class BoardFaultsE2E : public testing::TestWithParam<FaultCase> {};

TEST_P(BoardFaultsE2E, AWharfMonitorOpenedOnAFaultyBoardStaysQuietAndShowsNothingElse) {
  const FaultCase c = GetParam();
  VirtualDisplay x;
  ASSERT_TRUE(x.started());
  AccessibilityBus a11y(x.display());
  ASSERT_TRUE(a11y.started()) << "no accessibility bus (dbus-daemon, at-spi2-core)";
  SitesRunner sites;
  ASSERT_TRUE(sites.started());
  QTemporaryDir home;
  sites.configure(home.path());
  ASSERT_TRUE(sites.control(QStringLiteral("/_control/faults/board?kind=") + c.kind));

  ProgramRunner program(home.path(), x.display());
  ASSERT_TRUE(startAndShowConsole(program, home.path(), x.display()));
  Accessible wharfButton;  // the console's wharf field holds 1108 from the start
  ASSERT_TRUE(waitUntil(
      [&] {
        return (wharfButton = a11y.find(a11y.window(kConsoleCaption), "push button", "碼頭"))
            .valid();
      },
      30s));
  const int windows = x.allVisibleWindows().size();
  clickAt(x.display(), a11y.extents(wharfButton).center());
  ASSERT_TRUE(waitUntil([&] { return x.visibleWindows("1108").size() == 1; }, 20s))
      << program.output().data();
  ASSERT_TRUE(waitUntil([&] { return !sites.requestLog().filter(c.asked).isEmpty(); }, 20s));
  std::this_thread::sleep_for(5s);  // the page's dialog loop goes round fifty times

  EXPECT_TRUE(program.running());
  EXPECT_EQ(x.allVisibleWindows().size(), windows + 1) << "something else opened";
  EXPECT_TRUE(sites.requestLog().filter("/elsewhere/popup").isEmpty()) << "a page's window";
  x.focus(x.visibleWindows(kConsoleCaption).value(0));
  ASSERT_TRUE(waitUntil([&] { return x.focusedWindowTitle() == kConsoleCaption; }, 10s));

  // The board back: a held request gets it at once, and it alerts nobody.
  ASSERT_TRUE(sites.control("/_control/faults/reset"));
  std::this_thread::sleep_for(3s);
  EXPECT_EQ(x.focusedWindowTitle(), kConsoleCaption) << "an alert brought the monitor forward";
  EXPECT_TRUE(program.running());
}

INSTANTIATE_TEST_SUITE_P(Faults, BoardFaultsE2E,
                         testing::Values(FaultCase{"never", "/sdci/UA1006.ASP"},
                                         FaultCase{"download", "/sdci/UA1006.ASP"},
                                         FaultCase{"dialogs", "/sdci/UA1006.ASP"},
                                         FaultCase{"redirect-away", "/elsewhere/"}),
                         [](const auto& info) {
                           std::string name = info.param.kind;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
