#include <gtest/gtest.h>

#include "console/console_window.h"
#include "scenario/scenario_helpers.h"
#include "sim_port_desktop.h"
#include "sites/port_sites.h"
#include "test_printers.h"

using namespace tidex;
using namespace std::chrono_literals;

namespace {

int batchListRequests(SimPortDesktop& desk) {
  return static_cast<int>(desk.sites().requestLog().filter("/pda/Tidex_var.php").size());
}

QStringList hiddenMonitors(SimDesktop& desk) {
  QStringList out;
  for (Form* w : desk.windows().all()) {
    if (!dynamic_cast<ConsoleWindow*>(w) && !w->Visible()) out << w->Caption();
  }
  return out;
}

}  // namespace

TEST(HalfHourlyFetch, FetchesAtTheMarkAndRunsTheListAsAnAutomaticBatch) {
  SimPortDesktop desk{"2026-12-08 10:28:30"};
  desk.sites().maker().setBatchList({"CHECK", "01vaaa", "01VBBB"});
  scenario::saveKnownAccount();
  auto& console = desk.start<ConsoleWindow>();
  desk.advance(1s);
  const int atStart = batchListRequests(desk);  // the start-up load

  desk.advance(28s);  // 10:28:59
  EXPECT_EQ(desk.trims(), 0);
  desk.advance(1s);  // 10:29:00
  EXPECT_EQ(desk.trims(), 1);
  EXPECT_FALSE(console.halfHourTimer.Enabled());
  desk.advance(1s);
  EXPECT_EQ(batchListRequests(desk), atStart + 1);
  EXPECT_TRUE(console.batchListField.Text().contains("01vaaa"));
  EXPECT_TRUE(console.automaticBatchTimer.Enabled());
  EXPECT_FALSE(console.batchListFetchTimer.Enabled());

  desk.advance(9s);  // three steps: CHECK skipped, then two launches, hidden
  EXPECT_EQ(hiddenMonitors(desk), (QStringList{"01VAAA", "01VBBB"}));
  desk.advance(3s);  // the step past the end closes the batch and re-arms the trigger
  EXPECT_FALSE(console.automaticBatchTimer.Enabled());
  EXPECT_TRUE(console.halfHourTimer.Enabled());

  desk.advance(30min);  // past 10:59:00, the next mark
  EXPECT_EQ(batchListRequests(desk), atStart + 2);
  EXPECT_EQ(desk.trims(), 2);
}

// A first run: nobody has given the account yet, which the service would refuse, ending the
// program. The batch opens nothing and says why once, not at every mark; with the account typed
// in, the next mark opens the monitors.
TEST(HalfHourlyFetch, WithoutAnAccountTheBatchOpensNothingAndSaysSoOnceUntilOneIsGiven) {
  SimPortDesktop desk{"2026-12-08 10:28:30"};
  desk.sites().maker().setBatchList({"CHECK", "01VAAA", "01VBBB"});
  auto& console = desk.start<ConsoleWindow>();

  desk.advance(45s);  // 10:29:15, the batch has run to its end
  EXPECT_TRUE(hiddenMonitors(desk).isEmpty());
  ASSERT_EQ(desk.boxes().size(), 1u);
  EXPECT_TRUE(desk.boxes()[0].texts.front().startsWith("尚未設定 IMCT 帳號"));
  EXPECT_EQ(desk.boxes()[0].title, "訊息");
  desk.advance(30min);  // the 10:59 mark
  EXPECT_TRUE(hiddenMonitors(desk).isEmpty());
  EXPECT_EQ(desk.boxes().size(), 1u);
  EXPECT_FALSE(desk.ended());

  desk.type(console.accountField, "TIDEX");
  desk.type(console.passwordField, "PASS");
  desk.advance(30min);  // the 11:29 mark
  EXPECT_EQ(hiddenMonitors(desk), (QStringList{"01VAAA", "01VBBB"}));
  EXPECT_EQ(desk.boxes().size(), 1u);
  EXPECT_FALSE(desk.ended());
}

TEST(HalfHourlyFetch, AListThatNeverArrivesEndsTheBatchAndTheNextMarkFetchesAgain) {
  SimPortDesktop desk{"2026-12-08 10:58:58"};
  desk.sites().addPage("/pda/Tidex_var.php", sites::SiteResponse::never());
  auto& console = desk.start<ConsoleWindow>();
  desk.advance(3s);  // 10:59:01, the fetch is under way
  const int fetched = batchListRequests(desk);

  desk.advance(35s);
  EXPECT_TRUE(console.halfHourTimer.Enabled());
  EXPECT_TRUE(console.openWindowsButton.Enabled());
  EXPECT_FALSE(console.automaticBatchTimer.Enabled());
  EXPECT_EQ(desk.windows().count(), 1u);

  desk.advance(30min);  // 11:29:36: the next mark came and fetched again
  EXPECT_EQ(batchListRequests(desk), fetched + 1);
}

TEST(HalfHourlyFetch, AMarkThatFallsWhileABatchStillRunsIsSkipped) {
  SimPortDesktop desk{"2026-12-08 10:28:58"};
  // A list long enough to run past 10:59 (3 s a line); every number is recorded as
  // neither found nor waiting, so nothing opens.
  QStringList list{"CHECK"};
  for (int i = 0; i < 620; ++i) list << QStringLiteral("01V%1").arg(i, 3, 10, QLatin1Char('0'));
  desk.sites().maker().setBatchList(list);
  auto& console = desk.start<ConsoleWindow>();
  for (const QString& number : list.mid(1)) WriteSetting("Touchfiles", number, "2");
  desk.advance(1s);
  const int atStart = batchListRequests(desk);

  desk.advance(3s);  // 10:29:02: fetched, the batch begins
  EXPECT_EQ(batchListRequests(desk), atStart + 1);
  desk.advance(30min);  // 10:59:02: the batch still runs; this mark is skipped
  EXPECT_TRUE(console.automaticBatchTimer.Enabled());
  EXPECT_FALSE(console.halfHourTimer.Enabled());
  EXPECT_EQ(batchListRequests(desk), atStart + 1);

  desk.advance(5min);  // the batch has ended and re-armed the trigger
  EXPECT_FALSE(console.automaticBatchTimer.Enabled());
  EXPECT_TRUE(console.halfHourTimer.Enabled());
  desk.advance(25min);  // 11:29:02
  EXPECT_EQ(batchListRequests(desk), atStart + 2);
  EXPECT_EQ(desk.windows().count(), 1u);
}

TEST(HalfHourlyFetch, AnUnreachableListEndsTheBatchAtOnceAndReArmsTheTrigger) {
  SimPortDesktop desk{"2026-12-08 10:58:58"};
  desk.sites().addPage("/pda/Tidex_var.php", sites::SiteResponse::refused());
  auto& console = desk.start<ConsoleWindow>();
  desk.advance(6s);
  EXPECT_FALSE(console.batchListField.Text().contains("CHECK"));
  desk.advance(3s);
  EXPECT_TRUE(console.halfHourTimer.Enabled());
  EXPECT_TRUE(console.openWindowsButton.Enabled());
  EXPECT_TRUE(hiddenMonitors(desk).isEmpty());
}

TEST(GetVarMenu, StartsOneFetchAndCanBeUsedOncePerRun) {
  SimPortDesktop desk;
  desk.sites().maker().setBatchList({"CHECK", "01VCCC"});
  scenario::saveKnownAccount();
  auto& console = desk.start<ConsoleWindow>();
  desk.advance(1s);
  const int before = batchListRequests(desk);

  desk.clickMenu(console.getVarMenu);
  EXPECT_FALSE(console.getVarMenu.Enabled());
  EXPECT_FALSE(console.openWindowsButton.Enabled());
  EXPECT_FALSE(console.accountField.Enabled());
  desk.advance(1s);
  EXPECT_EQ(batchListRequests(desk), before + 1) << "one fetch, however long the page takes";
  desk.clickMenu(console.getVarMenu);
  desk.advance(10s);
  EXPECT_EQ(batchListRequests(desk), before + 1);
  EXPECT_EQ(hiddenMonitors(desk), QStringList{"01VCCC"});
}
