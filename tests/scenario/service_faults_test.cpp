// The port's services misbehave for a while and recover: the monitors keep watching, give no
// false alert, lose nothing and find what changed once the services answer again.
#include <gtest/gtest.h>

#include "board_path.h"
#include "test_printers.h"

#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "scenario/scenario_helpers.h"
#include "sites/pilot_roster.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;
using sites::Fault;
using sites::Service;

namespace {

const QString kUrlMonitorAddress = "http://127.0.0.1:8080" + kBoardPath +
                                   "?QSP_ID=&QSP_ENAME=&QSP_PORT=1110&QSP_PAGID=&SP_CALL=&"
                                   "SEARCH=1&iPage=&OK=%B7j%B4M";

std::string testName(Fault fault) {
  std::string name = sites::FaultName(fault).toStdString();
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

int pagesAskedFor(SimDesktop& desk, const QString& browser) {
  int count = 0;
  for (const SimNavigation& n : desk.navigations()) count += n.browser == browser;
  return count;
}

// What the user saw open: no box, no window beyond those opened, no address handed to the
// desktop.
void expectNothingNewOnScreen(SimDesktop& desk, std::size_t windows) {
  EXPECT_TRUE(desk.boxes().empty());
  EXPECT_EQ(desk.windows().count(), windows);
  EXPECT_TRUE(desk.openedUrls().empty());
}

struct BoardFaultCase {
  Fault fault;
  bool urlMonitorAlerts;  // it compares every page, error pages included
};

class BoardFaults : public testing::TestWithParam<BoardFaultCase> {};

TEST_P(BoardFaults, WharfAndVesselMonitorsStayQuietThenAlertOnTheFirstChangeAfterRecovery) {
  const BoardFaultCase c = GetParam();
  SimPortDesktop desk;
  saveKnownPilots();
  ConsoleWindow& console = startConsole(desk);
  typeAndClick(desk, console.wharfField, "1108", console.wharfButton);
  typeAndClick(desk, console.vesselField, "YM HARMONY", console.vesselButton);
  typeAndClick(desk, console.urlField, kUrlMonitorAddress, console.urlButton);
  desk.advance(2s);
  auto& wharf = windowCaptioned<WharfMonitor>(desk, "1108");
  auto& vessel = windowCaptioned<VesselMonitor>(desk, "YM HARMONY");
  auto& url = windowCaptioned<UrlMonitor>(desk, kUrlMonitorAddress);
  const std::size_t windows = desk.windows().count();
  const int wharfPages = pagesAskedFor(desk, "Form6.WebBrowser1");
  const int vesselPages = pagesAskedFor(desk, "Form3.WebBrowser1");

  desk.sites().setFault(Service::Board, c.fault);
  desk.advance(3min);
  EXPECT_FALSE(wharf.isAlerting());
  EXPECT_FALSE(vessel.isAlerting());
  EXPECT_EQ(url.isAlerting(), c.urlMonitorAlerts);
  EXPECT_GE(pagesAskedFor(desk, "Form6.WebBrowser1"), wharfPages + 3) << "it stopped reloading";
  EXPECT_GE(pagesAskedFor(desk, "Form3.WebBrowser1"), vesselPages + 3) << "it stopped reloading";
  expectNothingNewOnScreen(desk, windows);

  desk.sites().setFault(Service::Board, Fault::None);
  desk.advance(61s);
  EXPECT_FALSE(wharf.isAlerting()) << "the recovered board is what it was";
  EXPECT_FALSE(vessel.isAlerting()) << "the recovered board is what it was";

  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
  desk.advance(61s + 5s);
  EXPECT_TRUE(wharf.isAlerting());
  EXPECT_TRUE(vessel.isAlerting());
  expectNothingNewOnScreen(desk, windows);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, BoardFaults,
    testing::Values(BoardFaultCase{Fault::ServerError, true}, BoardFaultCase{Fault::NotFound, true},
                    BoardFaultCase{Fault::Refused, true}, BoardFaultCase{Fault::Never, false},
                    BoardFaultCase{Fault::Download, false},
                    BoardFaultCase{Fault::RedirectLoop, true},
                    BoardFaultCase{Fault::RedirectAway, true}, BoardFaultCase{Fault::CutOff, true},
                    BoardFaultCase{Fault::Huge, false}, BoardFaultCase{Fault::ManyElements, false},
                    BoardFaultCase{Fault::DialogLoop, false}),
    [](const auto& instance) { return testName(instance.param.fault); });

struct ImctFaultCase {
  Fault fault;
  bool foundDuringFault;  // the spoilt answer still shows the counts
};

class ImctFaults : public testing::TestWithParam<ImctFaultCase> {};

TEST_P(ImctFaults, ARegistrationMonitorKeepsPollingLosesNoRecordAndFindsTheNumberAfter) {
  const ImctFaultCase c = GetParam();
  SimPortDesktop desk;
  saveKnownAccount();
  WriteSetting("Touchfiles", "KHH0001", "1");  // an earlier finding
  WriteSetting("TouchfilesTime", "KHH0001", "08:15:00");
  ConsoleWindow& console = startConsole(desk);
  typeAndClick(desk, console.registrationField, "ABC123", console.registrationButton);
  desk.advance(5s);
  auto& monitor = windowCaptioned<RegistrationMonitor>(desk, "ABC123");
  ASSERT_EQ(ReadSetting("Touchfiles", "ABC123", ""), "0") << "logged in and asked";
  const std::size_t windows = desk.windows().count();

  desk.sites().setFault(Service::Imct, c.fault);
  desk.sites().imct().setFinding("ABC123", {"YM HARMONY", 12, 3});
  desk.advance(11min);  // two queries meet the fault
  if (!c.foundDuringFault) {
    EXPECT_EQ(ReadSetting("Touchfiles", "ABC123", ""), "0");
    EXPECT_TRUE(monitor.pollTimer.Enabled()) << "it stopped polling";
    EXPECT_TRUE(desk.beeps().empty());
  }
  expectNothingNewOnScreen(desk, windows);

  desk.sites().setFault(Service::Imct, Fault::None);
  desk.advance(6min);
  EXPECT_EQ(ReadSetting("Touchfiles", "ABC123", ""), "1");
  EXPECT_FALSE(ReadSetting("TouchfilesTime", "ABC123", "").isEmpty());
  EXPECT_EQ(ReadSetting("Touchfiles", "KHH0001", ""), "1");
  EXPECT_EQ(ReadSetting("TouchfilesTime", "KHH0001", ""), "08:15:00");
  EXPECT_FALSE(desk.beeps().empty());
  expectNothingNewOnScreen(desk, windows);
  const QStringList mail = desk.sites().requestLog().filter("/pda/mail.php");
  EXPECT_FALSE(mail.isEmpty()) << "the finding was not mailed";
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, ImctFaults,
    testing::Values(ImctFaultCase{Fault::ServerError, false}, ImctFaultCase{Fault::NotFound, false},
                    ImctFaultCase{Fault::Refused, false}, ImctFaultCase{Fault::Never, false},
                    ImctFaultCase{Fault::Download, false},
                    ImctFaultCase{Fault::RedirectLoop, false},
                    ImctFaultCase{Fault::RedirectAway, false}, ImctFaultCase{Fault::CutOff, false},
                    ImctFaultCase{Fault::Huge, true}, ImctFaultCase{Fault::ManyElements, true},
                    ImctFaultCase{Fault::DialogLoop, true}),
    [](const auto& instance) { return testName(instance.param.fault); });

}  // namespace

namespace {

// The board hangs: the wharf monitor waits on it while a registration monitor finds its number,
// records it and mails it, without the board's extract once the lookup has waited its limit.
TEST(ServiceFaults, ANeverAnsweringBoardHoldsUpNoOtherWindowNorTheFindingsMail) {
  SimPortDesktop desk;
  saveKnownAccount();
  desk.sites().setFault(Service::Board, Fault::Never);
  desk.sites().imct().setFinding("ABC123", {"YM HARMONY", 12, 3});
  ConsoleWindow& console = startConsole(desk);
  typeAndClick(desk, console.wharfField, "1108", console.wharfButton);
  typeAndClick(desk, console.registrationField, "ABC123", console.registrationButton);
  desk.advance(5s);
  auto& wharf = windowCaptioned<WharfMonitor>(desk, "1108");
  EXPECT_TRUE(wharf.pageBrowser.Busy());
  EXPECT_EQ(ReadSetting("Touchfiles", "ABC123", ""), "1");
  EXPECT_TRUE(windowCaptioned<RegistrationMonitor>(desk, "ABC123").alertTimer.Enabled());
  EXPECT_TRUE(desk.sites().mail().submissions().empty()) << "the lookup has not waited long";

  desk.advance(kBoardLookupLimit);
  const auto& mails = desk.sites().mail().submissions();
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_TRUE(sites::FieldValue(mails[0], "name").value_or("").startsWith("ABC123 "));
  EXPECT_EQ(sites::FieldValue(mails[0], "namea"), "");

  desk.sites().setFault(Service::Board, Fault::None);
  desk.advance(2min);
  EXPECT_EQ(desk.sites().mail().submissions().size(), 1u) << "one mail per finding";
  EXPECT_FALSE(wharf.pageBrowser.Busy());
  EXPECT_FALSE(wharf.isAlerting());
}

}  // namespace
