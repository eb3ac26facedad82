#include <gtest/gtest.h>

#include "program_runner.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

TEST(ProgramEndToEnd, StartUpLoadsTheRemoteBatchListFromTheMakersService) {
  SitesRunner sites;
  ASSERT_TRUE(sites.started());
  QTemporaryDir home;
  sites.configure(home.path());

  ProgramRunner program(home.path());
  program.start();

  EXPECT_TRUE(waitUntil([&] { return sites.requestLog().contains("GET /pda/Tidex_var.php"); }, 60s))
      << sites.requestLog().join('\n').toStdString() << program.output().data();
  EXPECT_TRUE(program.running());
}
