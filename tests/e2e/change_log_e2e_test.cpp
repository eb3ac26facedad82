#include <gtest/gtest.h>

#include "console_session.h"
#include "journal_seed.h"

#include "platform/journal_schema.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {
const QString kChangeLog = QStringLiteral("變更紀錄");
const QString kSummary = QStringLiteral("YM HARMONY　抵港時間 14:30 → 14:40");
}  // namespace

// With a journal beside the settings file, the user opens "變更紀錄" from the console's menu
// bar; a screen reader finds the entry in the list, and the two sides of the selected entry.
TEST(ProgramEndToEnd, TheChangeLogMenuOpensTheJournalsEntriesForAScreenReader) {
  ConsoleSession session;
  ASSERT_TRUE(tidex::testing::SeedJournal(
      session.home.filePath(QLatin1String(tidex::journal::kFileName)),
      {{"2026-12-08 09:10:00", "1108", tidex::journal::kind::kWharf, tidex::journal::event::kAlert,
        kSummary, "YM HARMONY　抵港時間 14:30", "YM HARMONY　抵港時間 14:40"}}));
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  const AccessibilityBus& a11y = session.a11y;
  const QString display = session.display.display();

  ASSERT_TRUE(session.clickConsole("menu item", kChangeLog));
  ASSERT_TRUE(waitUntil([&] { return !session.window(kChangeLog).isEmpty(); }, 20s))
      << session.program.output().data();

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

  clickAt(display, a11y.extents(entry).center());
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
