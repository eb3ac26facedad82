#include <gtest/gtest.h>

#include <QRegularExpression>

#include "board_path.h"
#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kChangeLog = QStringLiteral("變更紀錄");
const QString kMonitor = QStringLiteral("1108");

// The program's windows as the window manager stacks them, bottom to top (decimal ids).
QStringList stacking(const QString& display) {
  static const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
  QStringList ids;
  const QString list = windowProperty(display, {}, QStringLiteral("_NET_CLIENT_LIST_STACKING"));
  for (const auto& match : id.globalMatch(list)) {
    ids << QString::number(match.captured().toULongLong(nullptr, 16));
  }
  return ids;
}

}  // namespace

// Under a window manager the wharf monitor on 1108 alerts for a moved arrival and the user
// stops its beeping; the console and the monitor stay on top. The user opens "變更紀錄" from
// the console's menu bar: it opens above both. A screen reader finds the alert in the list,
// its filters by their labels, and in the two panes the board's row as the page showed it,
// the old time before and the new time after.
TEST(ProgramEndToEnd, AfterARealAlertTheChangeLogOpensInFrontAndShowsTheBoardsRowAsShown) {
  ConsoleSession session(ConsoleSession::Manager::Openbox);
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  const AccessibilityBus& a11y = session.a11y;
  const QString display = session.display.display();

  ASSERT_TRUE(session.openWharfMonitor()) << session.failure() << session.program.output().data();
  ASSERT_TRUE(
      session.sites.control("/_control/board/time?wharf=1108&vessel=YM%20HARMONY&time=23:45"));
  ASSERT_TRUE(waitUntil([&] { return !session.journalSummaries("alert").isEmpty(); }, 80s))
      << session.program.output().data();
  const QString summary = session.journalSummaries("alert").value(0);
  Accessible stop;
  ASSERT_TRUE(waitUntil(
      [&] {
        stop = a11y.find(a11y.window(kMonitor), "menu item", QStringLiteral("停止"));
        return stop.valid() && a11y.sensitive(stop);
      },
      20s));
  ASSERT_TRUE(a11y.press(stop));

  ASSERT_TRUE(a11y.press(session.consoleControl("menu item", kChangeLog)));
  QString log;
  ASSERT_TRUE(waitUntil(
      [&] {
        log = session.window(kChangeLog);
        return !log.isEmpty() && stacking(display).value(stacking(display).size() - 1) == log;
      },
      20s))
      << "the change log is not on top: " << stacking(display).join(' ').toStdString() << " / "
      << log.toStdString();
  const QStringList order = stacking(display);
  EXPECT_GT(order.indexOf(log), order.indexOf(session.window(ConsoleSession::consoleCaption())));
  EXPECT_GT(order.indexOf(log), order.indexOf(session.window(kMonitor)));

  Accessible window;
  Accessible list;
  Accessible entry;
  ASSERT_TRUE(waitUntil(
      [&] {
        window = a11y.window(kChangeLog);
        list = a11y.find(window, "tree", kChangeLog);
        entry = a11y.find(list, "tree item", summary);
        return entry.valid();
      },
      20s))
      << "the entry is not listed:\n"
      << a11y.describe(window).toStdString();
  EXPECT_TRUE(a11y.find(list, "tree item", "碼頭").valid());
  EXPECT_TRUE(a11y.find(window, "text", "視窗").valid());
  EXPECT_EQ(a11y.labels(a11y.find(window, "combo box")), QStringList{"種類"});

  clickAt(display, a11y.extents(entry).center());
  Accessible before;
  Accessible after;
  ASSERT_TRUE(waitUntil(
      [&] {
        before = a11y.find(window, "label", "變更前");
        after = a11y.find(window, "label", "變更後");
        return after.valid() && a11y.text(after).contains("抵港時間：23:45");
      },
      10s))
      << a11y.describe(window).toStdString();
  // The pane's line breaks reach the bus as blanks.
  const QString shownBefore = a11y.text(before).simplified();
  EXPECT_TRUE(shownBefore.startsWith("船名：YM HARMONY 碼頭：1108 ")) << shownBefore.toStdString();
  EXPECT_TRUE(shownBefore.contains("抵港時間：14:30")) << shownBefore.toStdString();
}
