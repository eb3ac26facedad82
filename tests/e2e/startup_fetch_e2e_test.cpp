#include <gtest/gtest.h>

#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

TEST(ProgramEndToEnd, StartUpLoadsTheRemoteBatchListFromTheMakersService) {
  ConsoleSession session;
  ASSERT_TRUE(session.startHidden()) << session.failure() << session.program.output().data();

  EXPECT_TRUE(
      waitUntil([&] { return session.sites.requestLog().contains("GET /pda/Tidex_var.php"); }, 60s))
      << session.sites.requestLog().join('\n').toStdString() << session.program.output().data();
  EXPECT_TRUE(session.program.running());
}
