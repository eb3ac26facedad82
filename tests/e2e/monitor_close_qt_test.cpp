#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>

#include "browser_harness.h"
#include "console/console_window.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "platform/desktop.h"
#include "program_runner.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

QMessageBox* visibleBox() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  }
  return nullptr;
}

WharfMonitor* wharfMonitor() {
  for (Form* w : Desktop::current().windows().all()) {
    if (auto* monitor = dynamic_cast<WharfMonitor*>(w)) return monitor;
  }
  return nullptr;
}

}  // namespace

// The close question of a monitor on the real desktop: a standard box whose text counts down
// and which closes itself, after which the monitor is gone and nothing reopens.
TEST(QtMonitorClose, TheQuestionCountsDownInARealBoxAndTheMonitorGoesUnanswered) {
  SitesRunner sites;
  ASSERT_TRUE(sites.started());
  sites.configure(browserDesktopHome());
  ConsoleWindow& console = Desktop::current().load<ConsoleWindow>();
  console.wharfField.setText("1108");
  console.launchMonitor(MonitorKindOf(QStringLiteral("wharf")));
  WharfMonitor* monitor = wharfMonitor();
  ASSERT_NE(monitor, nullptr);
  ASSERT_TRUE(spinUntil([&] { return monitor->hasBaseline(); }, 30s));

  monitor->requestClose(UnloadReason::UserClose);
  QMessageBox* box = nullptr;
  ASSERT_TRUE(spinUntil([&] { return (box = visibleBox()) != nullptr; }, 5s));
  EXPECT_EQ(box->windowTitle(), "訊息");
  EXPECT_EQ(box->text(), "是否重新開船名？ 9 秒");
  EXPECT_EQ(box->buttons().size(), 3);
  EXPECT_FALSE(monitor->Visible());
  spinFor(2500ms);
  EXPECT_EQ(visibleBox() ? visibleBox()->text() : QString(), "是否重新開船名？ 7 秒");

  EXPECT_TRUE(spinUntil([] { return visibleBox() == nullptr && wharfMonitor() == nullptr; }, 10s));
  EXPECT_EQ(console.wharfField.Text(), "1108");
  spinFor(1s);
  EXPECT_EQ(wharfMonitor(), nullptr) << "an unanswered question reopened the monitor";
}
