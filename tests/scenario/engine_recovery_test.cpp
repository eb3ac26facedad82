#include <gtest/gtest.h>

#include "board_path.h"
#include "common/health/engine_watch.h"
#include "common/settings/settings.h"
#include "console/console_window.h"
#include "console/notify_icon_module.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "scenario_helpers.h"
#include "sim_port_desktop.h"
#include "sites/board_service.h"
#include "sites/pilot_roster.h"
#include "sites/port_sites.h"
#include "test_printers.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

const Tone kOutageBeep{3000, 300ms};
const Tone kAlertLow{1000, 300ms};

// The console with the known pilots and a wharf monitor open for each code.
std::vector<WharfMonitor*> openWharfMonitors(SimDesktop& desk, const QStringList& codes) {
  saveKnownPilots();
  ConsoleWindow& console = startConsole(desk);
  std::vector<WharfMonitor*> monitors;
  for (const QString& code : codes) {
    console.wharfField.setText(code);
    desk.click(console.wharfButton);
    desk.advance(2s);
    monitors.push_back(&windowCaptioned<WharfMonitor>(desk, code));
  }
  return monitors;
}

int alertTones(const SimDesktop& desk) {
  return static_cast<int>(std::count(desk.beeps().begin(), desk.beeps().end(), kAlertLow));
}

int outageBeeps(const SimDesktop& desk) {
  return static_cast<int>(std::count(desk.beeps().begin(), desk.beeps().end(), kOutageBeep));
}

int boardRequests(SimPortDesktop& desk) {
  return static_cast<int>(desk.sites().requestLog().filter(kBoardPath).size());
}

// Navigations of the browser dropped when its page was replaced by a fresh one.
int droppedNavigations(const SimDesktop& desk, const QString& browser) {
  int dropped = 0;
  for (const SimNavigation& n : desk.navigations()) {
    if (n.browser == browser && n.state == SimNavigation::State::Dropped) ++dropped;
  }
  return dropped;
}

}  // namespace

// The engine stops completing pages: requests still go out but no page is read. Within two
// reload periods every monitor has replaced its page, and the program says so once, however
// many monitors noticed: one beep, one timed box, the tray tip. It keeps trying; once the
// engine renders again the tip goes back, nothing alerted meanwhile, and a moved time alerts.
TEST(BrowserEngine, AnEngineThatRendersNothingIsToldOnceAndWatchingResumesWithoutAFalseAlert) {
  SimPortDesktop desk;
  auto monitors = openWharfMonitors(desk, {"1108", "1110"});
  const QString normalTip = NotifyIconModule::TrayTip(ConsoleWindow::ConsoleCaption());
  ASSERT_EQ(desk.tray().tip, normalTip);
  ASSERT_TRUE(monitors[0]->hasBaseline());

  desk.setBrowserEngineDown(true);
  const int requestsBefore = boardRequests(desk);
  desk.advance(2 * 60s);
  EXPECT_GT(boardRequests(desk), requestsBefore) << "the reloads go on";
  EXPECT_EQ(droppedNavigations(desk, "Form6.WebBrowser1"), 2) << "pages not replaced in time";
  desk.advance(Desktop::kEngineProbeLimit + 1s);

  ASSERT_EQ(desk.boxes().size(), 1u);
  EXPECT_TRUE(desk.boxes()[0].texts.front().startsWith(EngineWatch::kNotice))
      << desk.boxes()[0].texts.front().toStdString();
  EXPECT_EQ(outageBeeps(desk), 1);
  EXPECT_EQ(desk.tray().tip, EngineWatch::kNotice);

  desk.advance(5min);  // still down: it keeps trying, without telling again
  EXPECT_EQ(desk.boxes().size(), 1u);
  EXPECT_TRUE(desk.openBoxes().empty()) << "the box closes itself";
  EXPECT_EQ(outageBeeps(desk), 1);
  EXPECT_GE(desk.engineProbes(), 5);
  EXPECT_EQ(desk.tray().tip, EngineWatch::kNotice);

  desk.setBrowserEngineDown(false);
  desk.advance(EngineWatch::kRetry + 60s);
  EXPECT_EQ(desk.tray().tip, normalTip);
  EXPECT_EQ(alertTones(desk), 0);
  for (WharfMonitor* monitor : monitors) {
    EXPECT_TRUE(monitor->pollTimer.Enabled()) << monitor->Caption().toStdString();
    EXPECT_FALSE(monitor->latestIsErrorPage()) << monitor->Caption().toStdString();
    EXPECT_EQ(monitor->baseline(), monitor->latest()) << monitor->Caption().toStdString();
  }

  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
  desk.advance(60s + 5s);
  EXPECT_GT(alertTones(desk), 0);
  EXPECT_FALSE(monitors[0]->pollTimer.Enabled());
  EXPECT_TRUE(monitors[1]->pollTimer.Enabled());
  EXPECT_EQ(desk.boxes().size(), 1u);
}

// Renderers die at different moments of a monitor's cycle; the blank or unread page is never
// compared, no box appears while the engine still renders, and the next moved time alerts.
TEST(BrowserEngine, RenderersDyingAtAnyMomentRecoverAtTheNextReloadWithoutAFalseAlert) {
  struct Case {
    const char* moment;
    std::chrono::milliseconds afterReload;  // the reload is on the 60th tick after opening
  };
  for (const Case& c : {Case{"while idle", 30s}, Case{"during the query", 100ms},
                        Case{"during the search", 300ms}}) {
    SCOPED_TRACE(c.moment);
    SimPortDesktop desk;
    WharfMonitor& monitor = *openWharfMonitors(desk, {"1108"})[0];
    const QString baseline = monitor.baseline();
    desk.advance(58s);  // 58 ticks and the 2 s of opening: the reload is due now
    desk.advance(c.afterReload);
    EXPECT_EQ(monitor.pageBrowser.Busy(), c.afterReload < 1s);
    desk.killRenderers();
    desk.advance(62s);
    EXPECT_EQ(alertTones(desk), 0);
    EXPECT_TRUE(desk.boxes().empty());
    EXPECT_EQ(monitor.baseline(), baseline);
    EXPECT_EQ(monitor.latest(), baseline) << "the next reload reads the board again";

    ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
    desk.advance(60s + 5s);
    EXPECT_GT(alertTones(desk), 0);
  }
}

// A board that accepts the query and never answers stalls the page too, but the engine still
// renders: the page is replaced at the next reload and nothing is told.
TEST(BrowserEngine, ABoardThatNeverAnswersIsNoEngineOutage) {
  SimPortDesktop desk;
  WharfMonitor& monitor = *openWharfMonitors(desk, {"1108"})[0];
  desk.sites().board().setNeverCompletes(true);
  desk.advance(3 * 60s);
  EXPECT_GE(droppedNavigations(desk, "Form6.WebBrowser1"), 1);
  EXPECT_GE(desk.engineProbes(), 1);
  EXPECT_TRUE(desk.boxes().empty());
  EXPECT_EQ(desk.tray().tip, NotifyIconModule::TrayTip(ConsoleWindow::ConsoleCaption()));
  desk.sites().board().setNeverCompletes(false);
  desk.advance(60s);
  EXPECT_EQ(alertTones(desk), 0);
  EXPECT_EQ(monitor.baseline(), monitor.latest());
}

// A registration monitor queries every 300 ticks. The engine goes down: its next query is never
// read, the one after replaces its page and the program says so once. Once the engine renders
// again, the number the service found meanwhile is recorded and alerted.
TEST(BrowserEngine, ARegistrationMonitorNoticesADeadEngineAndFindsTheNumberOnceItRenders) {
  SimPortDesktop desk;
  ConsoleWindow& console = startConsole(desk);
  desk.type(console.accountField, "TIDEX");
  desk.type(console.passwordField, "PASS");
  typeAndClick(desk, console.registrationField, "01VXXX", console.registrationButton);
  RegistrationMonitor& monitor = windowCaptioned<RegistrationMonitor>(desk, "01VXXX");
  desk.advance(5s);

  desk.setBrowserEngineDown(true);
  desk.sites().imct().setFinding("01VXXX", {" YM HARMONY ", 12, 3});
  desk.advance(2 * 301s + Desktop::kEngineProbeLimit);
  EXPECT_EQ(droppedNavigations(desk, "Form2.WebBrowser1"), 1);
  ASSERT_EQ(desk.boxes().size(), 1u);
  EXPECT_TRUE(desk.boxes()[0].texts.front().startsWith(EngineWatch::kNotice));
  EXPECT_EQ(ReadSetting("Touchfiles", "01VXXX", "none"), "0") << "the first query found nothing";

  desk.setBrowserEngineDown(false);
  desk.advance(301s);
  EXPECT_EQ(ReadSetting("Touchfiles", "01VXXX", "none"), "1");
  EXPECT_TRUE(monitor.isAlerting());
  EXPECT_EQ(desk.tray().tip, NotifyIconModule::TrayTip(ConsoleWindow::ConsoleCaption()));
  EXPECT_EQ(desk.boxes().size(), 1u);
  desk.advance(10s);  // the notification mail goes out
}
