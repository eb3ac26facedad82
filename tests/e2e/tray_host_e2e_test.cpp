#include <gtest/gtest.h>

#include <thread>

#include "console_session.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

// Whether a window of the program sits inside the tray: the tray docks an icon by taking its
// window into its own, where the window keeps the program's class ("tidex" "Tidex").
bool iconDocked(const QString& display) {
  const QStringList panels =
      runOnDisplay(display, QStringLiteral("xdotool"),
                   {QStringLiteral("search"), QStringLiteral("--class"), QStringLiteral("trayer")})
          .split(u'\n', Qt::SkipEmptyParts);
  for (const QString& panel : panels) {
    const QString tree = runOnDisplay(display, QStringLiteral("xwininfo"),
                                      {QStringLiteral("-tree"), QStringLiteral("-id"), panel});
    if (tree.contains(QStringLiteral("\"Tidex\""))) return true;
  }
  return false;
}

}  // namespace

// A session whose panel comes late, under a real window manager: the console shows when no
// tray came within the grace, the icon docks in the tray that comes later, and the File menu
// ends the program with its end time recorded.
TEST(ProgramEndToEnd, ConsoleShowsWithoutATrayDocksInALaterTrayAndEndsFromItsFileMenu) {
  ConsoleSession session(ConsoleSession::Manager::Openbox);
  ASSERT_TRUE(session.startHidden()) << session.failure() << session.program.output().data();
  const QString caption = ConsoleSession::consoleCaption();
  const QString display = session.display.display();
  std::this_thread::sleep_for(6s);
  EXPECT_TRUE(session.window(caption).isEmpty()) << "shown while a tray might still come";
  ASSERT_TRUE(waitUntil([&] { return session.display.visibleWindows(caption).size() == 1; }, 20s))
      << "no tray, and the console stayed out of sight";

  TrayHost tray(display);
  ASSERT_TRUE(tray.start()) << "trayer did not start";
  EXPECT_TRUE(waitUntil([&] { return iconDocked(display); }, 15s))
      << "the icon did not dock in the tray that came";

  ASSERT_TRUE(session.endFromFileMenu()) << session.failure();

  EXPECT_TRUE(session.program.waitForExit(15s)) << "the program did not end";
  EXPECT_TRUE(readFile(session.home.filePath("Tidex.ini")).contains("EndTime="));
}
