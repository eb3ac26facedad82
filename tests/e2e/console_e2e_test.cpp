#include <gtest/gtest.h>

#include <thread>

#include <QFile>

#include "console_session.h"
#include "program_runner.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {
const QString kConsoleCaption = ConsoleSession::consoleCaption();

bool settingsWritten(const QTemporaryDir& home) {
  return readFile(home.filePath("Tidex.ini")).contains("004=0");
}
}  // namespace

TEST(ProgramEndToEnd, FirstStartWritesTheFlagAndASecondStartEndsItself) {
  QTemporaryDir home;
  ProgramRunner first(home.path());
  first.start();
  ASSERT_TRUE(waitUntil([&] { return settingsWritten(home); }, 60s)) << first.output().data();
  EXPECT_EQ(readFile(home.filePath("Tidex.ini")), QByteArray("[setup]\r\n004=0\r\n"));

  ProgramRunner second(home.path());
  second.start();
  EXPECT_TRUE(second.waitForExit(10s));
  EXPECT_TRUE(first.running());

  first.terminate();  // SIGTERM closes the console as the task manager would: the program ends
  EXPECT_TRUE(first.waitForExit(10s));
}

TEST(ProgramEndToEnd, AStaleSocketLeftByACrashedCopyDoesNotStopTheNextStart) {
  QTemporaryDir home;
  {
    ProgramRunner crashed(home.path());
    crashed.start();
    ASSERT_TRUE(waitUntil([&] { return settingsWritten(home); }, 60s));
    crashed.kill();
  }
  QFile::remove(home.filePath("Tidex.ini"));

  ProgramRunner next(home.path());
  next.start();
  ASSERT_TRUE(waitUntil([&] { return settingsWritten(home); }, 60s));
  EXPECT_FALSE(next.waitForExit(2s)) << "the new start took the stale socket for a running copy";

  ProgramRunner third(home.path());
  third.start();
  EXPECT_TRUE(third.waitForExit(10s)) << "the restarted copy no longer answers a second start";
}

TEST(ProgramEndToEnd, ConsoleStartsHiddenAndASecondStartBringsItForward) {
  VirtualDisplay x;
  ASSERT_TRUE(x.started()) << "Xvfb did not start";
  QTemporaryDir home;
  ProgramRunner first(home.path(), x.display());
  first.start();
  ASSERT_TRUE(waitUntil([&] { return settingsWritten(home); }, 60s)) << first.output().data();
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(x.visibleWindows(kConsoleCaption).isEmpty());

  ProgramRunner second(home.path(), x.display());
  second.start();
  EXPECT_TRUE(second.waitForExit(10s));

  EXPECT_TRUE(waitUntil([&] { return x.visibleWindows(kConsoleCaption).size() == 1; }, 10s));
}
