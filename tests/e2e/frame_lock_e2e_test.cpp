#include <gtest/gtest.h>

#include <thread>

#include "board_path.h"
#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kMonitor = QStringLiteral("1108");

// The board page of the monitor as the user sees it: its wharf field and search button.
struct BoardPage {
  Accessible wharf;
  Accessible search;
};

BoardPage findBoardPage(const AccessibilityBus& a11y) {
  const Accessible page = a11y.find(a11y.window(kMonitor), "web document");
  return {a11y.find(page, "text"), a11y.find(page, "push button", "搜尋")};
}

QStringList boardRequests(const SitesRunner& sites) {
  return sites.requestLog().filter(kBoardPath);
}

// The monitor's own searches are form submits that follow a load of its query address; a
// submit beyond those is someone else's use of the page.
bool noSubmitBeyondTheMonitorsOwn(const QStringList& requests) {
  const auto loads = requests.filter(kBoardPath + "?QSP_ID=").size();
  const auto submits = requests.filter(kBoardPath + "?QSP_PORT=").size();
  return submits <= loads;
}

}  // namespace

// A user at a watching wharf monitor clicks its page's search button and types into the
// page's wharf field: nothing reaches the board and the page stays as the monitor saw it. Once
// the monitor has alerted and the alert is stopped, the same input searches the board.
TEST(ProgramEndToEnd, AWatchingWharfMonitorsPageTakesNoMouseOrKeysUntilItHasAlerted) {
  ConsoleSession session;
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  const VirtualDisplay& x = session.display;
  const AccessibilityBus& a11y = session.a11y;
  const SitesRunner& sites = session.sites;
  const Accessible wharfField = session.consoleControl("text", "碼頭");
  ASSERT_TRUE(wharfField.valid());
  clickAt(x.display(), a11y.extents(wharfField).center());
  pressKeys(x.display(), {"ctrl+a"});
  typeText(x.display(), kMonitor);
  ASSERT_TRUE(session.openWharfMonitor(kMonitor))
      << session.failure() << session.program.output().data();

  BoardPage page;
  ASSERT_TRUE(waitUntil(
      [&] {
        page = findBoardPage(a11y);
        return page.wharf.valid() && page.search.valid();
      },
      30s));
  const QString wharfText = a11y.text(page.wharf);
  EXPECT_EQ(wharfText, kMonitor);

  // Locked: the mouse into the field and on the button, keys typed, Tab to move the focus in.
  x.focus(x.visibleWindows(kMonitor).front());
  clickAt(x.display(), a11y.extents(page.wharf).center());
  typeText(x.display(), "2222");
  pressKeys(x.display(), {"Return", "Tab", "Tab"});
  typeText(x.display(), "2222");
  pressKeys(x.display(), {"Return"});
  clickAt(x.display(), a11y.extents(page.search).center());
  std::this_thread::sleep_for(3s);
  EXPECT_TRUE(boardRequests(sites).filter("2222").isEmpty()) << "typing reached the page";
  EXPECT_TRUE(noSubmitBeyondTheMonitorsOwn(boardRequests(sites)))
      << "a click searched the board: " << boardRequests(sites).join('\n').toStdString();
  EXPECT_EQ(a11y.text(findBoardPage(a11y).wharf), wharfText);

  // The board moves a time: the monitor alerts, and its stop command becomes available.
  ASSERT_TRUE(sites.control("/_control/board/time?wharf=1108&vessel=YM%20HARMONY&time=23:45"));
  Accessible stop;
  ASSERT_TRUE(waitUntil(
      [&] {
        stop = a11y.find(a11y.window(kMonitor), "menu item", "停止");
        return stop.valid() && a11y.sensitive(stop);
      },
      60s + 5s + 20s))
      << "no alert";
  clickAt(x.display(), a11y.extents(stop).center());

  // Unlocked: the same input searches the board.
  page = findBoardPage(a11y);
  ASSERT_TRUE(page.wharf.valid() && page.search.valid());
  x.focus(x.visibleWindows(kMonitor).front());
  clickAt(x.display(), a11y.extents(page.wharf).center());
  pressKeys(x.display(), {"End"});
  typeText(x.display(), "2222");
  clickAt(x.display(), a11y.extents(page.search).center());
  EXPECT_TRUE(
      waitUntil([&] { return !boardRequests(sites).filter("QSP_PORT=11082222").isEmpty(); }, 10s))
      << boardRequests(sites).join('\n').toStdString();
}
