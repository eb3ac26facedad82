#include <gtest/gtest.h>

#include <thread>

#include <QFile>

#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

TEST(ProgramEndToEnd, FirstStartWritesTheFlagAndASecondStartEndsItself) {
  ConsoleSession session(ConsoleSession::Manager::None, ConsoleSession::Home::Empty);
  ASSERT_TRUE(session.startHidden()) << session.failure() << session.program.output().data();
  EXPECT_EQ(readFile(session.home.filePath("Tidex.ini")), QByteArray("[setup]\r\n004=0\r\n"));

  EXPECT_TRUE(session.startSecondCopy());
  EXPECT_TRUE(session.program.running());

  // SIGTERM closes the console as the task manager would: the program ends
  session.program.terminate();
  EXPECT_TRUE(session.program.waitForExit(10s));
}

TEST(ProgramEndToEnd, AStaleSocketLeftByACrashedCopyDoesNotStopTheNextStart) {
  ConsoleSession session;
  ASSERT_TRUE(session.startHidden()) << session.failure();
  session.stop();
  QFile::remove(session.home.filePath("Tidex.ini"));

  ASSERT_TRUE(session.restart()) << session.failure();
  EXPECT_FALSE(session.program.waitForExit(2s))
      << "the new start took the stale socket for a running copy";

  EXPECT_TRUE(session.startSecondCopy()) << "the restarted copy no longer answers a second start";
}

TEST(ProgramEndToEnd, ConsoleStartsHiddenAndASecondStartBringsItForward) {
  ConsoleSession session;
  ASSERT_TRUE(session.startHidden()) << session.failure() << session.program.output().data();
  const QString caption = ConsoleSession::consoleCaption();
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(session.display.visibleWindows(caption).isEmpty());

  EXPECT_TRUE(session.startSecondCopy());

  EXPECT_TRUE(waitUntil([&] { return session.display.visibleWindows(caption).size() == 1; }, 10s));
}
