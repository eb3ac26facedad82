#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "board_path.h"
#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

// The journal cannot be written when the wharf monitor alerts, so the console holds the entry
// back. The file can be written again, and before the console's next try the user ends the
// program by Ctrl+Alt and a click on the console's "Exit": the entry is in the journal, and
// the file is closed, no write-ahead log left beside it.
TEST(ProgramEndToEnd, EndingByTheGestureWritesTheHeldJournalEntryAndClosesTheFile) {
  ConsoleSession session;
  const QString journal = session.home.filePath(QStringLiteral("Tidex-journal.db"));
  ASSERT_TRUE(QDir().mkpath(journal));  // where the file goes: unwritable for anyone
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  const QString display = session.display.display();

  ASSERT_TRUE(session.openWharfMonitor()) << session.failure() << session.program.output().data();
  ASSERT_TRUE(
      session.sites.control("/_control/board/time?wharf=1108&vessel=YM%20HARMONY&time=23:45"));
  // The alert has begun (its "停止" can be chosen): its entry is held. The user stops it and
  // waits for the box that says the journal is not written to close itself.
  Accessible stop;
  ASSERT_TRUE(waitUntil(
      [&] {
        stop = session.a11y.find(session.a11y.window(QStringLiteral("1108")), "menu item",
                                 QStringLiteral("停止"));
        return stop.valid() && session.a11y.sensitive(stop);
      },
      80s))
      << session.program.output().data();
  ASSERT_TRUE(session.a11y.press(stop));
  ASSERT_TRUE(waitUntil([&] { return session.window(QStringLiteral("訊息")).isEmpty(); }, 15s));
  ASSERT_TRUE(QDir(journal).removeRecursively());
  // The monitor that came to the front covers the console: the user brings the console up.
  runOnDisplay(display, QStringLiteral("xdotool"),
               {QStringLiteral("windowraise"), session.window(ConsoleSession::consoleCaption())});

  const Accessible exit = session.consoleControl("label", QStringLiteral("Exit"));
  ASSERT_TRUE(exit.valid());
  const QPoint at = session.a11y.extents(exit).center();
  runOnDisplay(display, QStringLiteral("xdotool"),
               {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                QString::number(at.y()), QStringLiteral("keydown"), QStringLiteral("ctrl+alt"),
                QStringLiteral("click"), QStringLiteral("1"), QStringLiteral("keyup"),
                QStringLiteral("ctrl+alt")});
  ASSERT_TRUE(session.program.waitForExit(20s)) << session.program.output().data();

  EXPECT_FALSE(QFile::exists(journal + QStringLiteral("-wal")));
  EXPECT_FALSE(QFile::exists(journal + QStringLiteral("-shm")));
  EXPECT_EQ(session.journalSummaries(QStringLiteral("alert")).size(), 1)
      << session.program.output().data();
}
