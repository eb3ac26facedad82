#include <gtest/gtest.h>

#include "accessibility_bus.h"
#include "journal_seed.h"
#include "program_runner.h"

#include "platform/journal_schema.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {
const QString kConsoleCaption = QStringLiteral("准單查詢 1.0.30");
const QString kChangeLog = QStringLiteral("變更紀錄");
const QString kSummary = QStringLiteral("YM HARMONY　抵港時間 14:30 → 14:40");
}  // namespace

// With a journal beside the settings file, the user opens "變更紀錄" from the console's menu
// bar; a screen reader finds the entry in the list, and the two sides of the selected entry.
TEST(ProgramEndToEnd, TheChangeLogMenuOpensTheJournalsEntriesForAScreenReader) {
  VirtualDisplay x;
  ASSERT_TRUE(x.started()) << "Xvfb did not start";
  AccessibilityBus a11y(x.display());
  ASSERT_TRUE(a11y.started()) << "no accessibility bus (dbus-daemon, at-spi2-core)";
  SitesRunner sites;
  ASSERT_TRUE(sites.started());
  QTemporaryDir home;
  sites.configure(home.path());
  ASSERT_TRUE(tidex::testing::SeedJournal(
      home.filePath(QLatin1String(tidex::journal::kFileName)),
      {{"2026-12-08 09:10:00", "1108", tidex::journal::kind::kWharf, tidex::journal::event::kAlert,
        kSummary, "YM HARMONY　抵港時間 14:30", "YM HARMONY　抵港時間 14:40"}}));

  ProgramRunner program(home.path(), x.display());
  ASSERT_TRUE(startAndShowConsole(program, home.path(), x.display()));

  Accessible menu;
  ASSERT_TRUE(waitUntil(
      [&] {
        menu = a11y.find(a11y.window(kConsoleCaption), "menu item", kChangeLog);
        return menu.valid();
      },
      30s))
      << program.output().data();
  clickAt(x.display(), a11y.extents(menu).center());
  ASSERT_TRUE(waitUntil([&] { return x.visibleWindows(kChangeLog).size() == 1; }, 20s))
      << program.output().data();

  Accessible window;
  Accessible list;
  Accessible entry;
  ASSERT_TRUE(waitUntil(
      [&] {
        window = a11y.window(kChangeLog);
        list = a11y.find(window, "tree", kChangeLog);
        entry = a11y.find(list, "tree item", kSummary);
        return entry.valid();
      },
      20s))
      << "the entry is not listed:\n"
      << a11y.describe(window).toStdString();
  EXPECT_TRUE(a11y.find(list, "tree item", "碼頭").valid());
  EXPECT_TRUE(a11y.find(window, "text", "視窗").valid());
  EXPECT_EQ(a11y.labels(a11y.find(window, "combo box")), QStringList{"種類"});

  clickAt(x.display(), a11y.extents(entry).center());
  Accessible after;
  ASSERT_TRUE(waitUntil(
      [&] {
        after = a11y.find(window, "label", "變更後");
        return after.valid() && a11y.text(after).contains("14:40");
      },
      10s))
      << a11y.describe(window).toStdString();
  EXPECT_TRUE(a11y.text(a11y.find(window, "label", "變更前")).contains("14:30"));
}
