#include <gtest/gtest.h>

#include "board_path.h"
#include "test_printers.h"

#include <functional>

#include "common/settings/settings.h"
#include "console/console_window.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/command_button.h"
#include "platform/frame.h"
#include "platform/text_box.h"
#include "scenario/scenario_helpers.h"
#include "sim_port_desktop.h"
#include "sites/pilot_roster.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

// A window with a frame inside a frame holding a button, and a field that code moves into a
// third frame declared after it.
class Panel final : public Form {
 public:
  Panel() : Form(QStringLiteral("Panel")) {
    batchStepButton.onClick = [this] { ++clicks; };
    Text1.placeIn(Frame3);
  }
  Frame pageFrame{*this, "Frame1"};
  Frame Frame2{*this, pageFrame.holds("Frame2")};
  CommandButton batchStepButton{*this, Frame2.holds("Command1"), "OK"};
  TextBox Text1{*this, "Text1"};
  Frame Frame3{*this, "Frame3"};
  int clicks = 0;
};

QStringList boardRequests(SimPortDesktop& desk) {
  return desk.sites().requestLog().filter(kBoardPath);
}

}  // namespace

TEST(FrameContainment, WhatIsInsideADisabledOrHiddenFrameIsOutOfTheUsersReach) {
  struct Case {
    const char* what;
    std::function<void(Panel&)> change;
    bool reachable;
  };
  const Case cases[] = {
      {"all enabled and shown", [](Panel&) {}, true},
      {"outer frame disabled", [](Panel& p) { p.pageFrame.setEnabled(false); }, false},
      {"inner frame hidden", [](Panel& p) { p.Frame2.setVisible(false); }, false},
      {"button itself disabled", [](Panel& p) { p.batchStepButton.setEnabled(false); }, false},
      {"frame disabled and enabled again",
       [](Panel& p) {
         p.pageFrame.setEnabled(false);
         p.pageFrame.setEnabled(true);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimPortDesktop desk;
    Panel& panel = desk.load<Panel>();
    c.change(panel);
    EXPECT_EQ(desk.click(panel.batchStepButton), c.reachable);
    EXPECT_EQ(panel.clicks, c.reachable ? 1 : 0);
  }

  SimPortDesktop desk;
  Panel& panel = desk.load<Panel>();
  EXPECT_EQ(panel.Text1.container(), &panel.Frame3);
  panel.Frame3.setEnabled(false);
  EXPECT_TRUE(panel.Text1.Enabled()) << "a frame leaves its controls' own state alone";
  EXPECT_FALSE(desk.type(panel.Text1, "typed"));
  EXPECT_FALSE(desk.focus(panel.Text1));
  EXPECT_EQ(panel.Text1.Text(), "");
  panel.Frame3.setEnabled(true);
  EXPECT_TRUE(desk.type(panel.Text1, "typed"));
  EXPECT_EQ(panel.Text1.Text(), "typed");

  // A frame cannot end up inside itself.
  panel.pageFrame.placeIn(panel.Frame2);
  EXPECT_EQ(panel.pageFrame.container(), nullptr);
}

TEST(FrameContainment, AWatchingMonitorsPageIsLockedFromLoad) {
  struct Case {
    const char* kind;
    std::function<WebBrowser&(SimDesktop&, ConsoleState&)> open;
  };
  const Case cases[] = {
      {"Form6",
       [](SimDesktop& d, ConsoleState& c) -> WebBrowser& {
         return d.load<WharfMonitor>(c).pageBrowser;
       }},
      {"Form3",
       [](SimDesktop& d, ConsoleState& c) -> WebBrowser& {
         return d.load<VesselMonitor>(c).pageBrowser;
       }},
      {"Form7",
       [](SimDesktop& d, ConsoleState& c) -> WebBrowser& {
         return d.load<UrlMonitor>(c).pageBrowser;
       }},
      {"Form2",
       [](SimDesktop& d, ConsoleState& c) -> WebBrowser& {
         return d.load<RegistrationMonitor>(c).pageBrowser;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    SimPortDesktop desk;
    auto& console = desk.start<scenario::StandInConsole>();
    WebBrowser& page = c.open(desk, console);
    desk.advance(2s);
    EXPECT_FALSE(page.reachable());
    EXPECT_FALSE(desk.clickInPage(page, "OK"));
  }
}

// A user at a watching wharf monitor can neither search the board from its page nor change the
// text it compares; once it has alerted the page is theirs.
TEST(FrameContainment, TheWharfMonitorsPageTakesNoInputUntilItHasAlerted) {
  SimPortDesktop desk;
  saveKnownPilots();
  ConsoleWindow& console = desk.start<ConsoleWindow>();
  console.wharfField.setText("1108");
  desk.click(console.wharfButton);
  desk.advance(2s);
  auto& monitor = *dynamic_cast<WharfMonitor*>(desk.windows().all().back());
  const QString baseline = monitor.baseline();
  ASSERT_TRUE(baseline.contains("1108"));
  const int requests = static_cast<int>(boardRequests(desk).size());

  EXPECT_FALSE(desk.typeInPage(monitor.pageBrowser, "QSP_PORT", "2222"));
  EXPECT_FALSE(desk.clickInPage(monitor.pageBrowser, "OK"));
  desk.advance(1s);
  EXPECT_EQ(boardRequests(desk).size(), requests);
  desk.advance(2min);
  EXPECT_TRUE(boardRequests(desk).filter("QSP_PORT=2222").isEmpty());
  EXPECT_EQ(monitor.latest(), baseline);
  EXPECT_TRUE(desk.beeps().empty());

  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
  desk.advance(61s + 5s);
  ASSERT_FALSE(desk.beeps().empty());
  desk.clickMenu(monitor.stopBeepMenu);
  EXPECT_TRUE(desk.typeInPage(monitor.pageBrowser, "QSP_PORT", "2222"));
  EXPECT_TRUE(desk.clickInPage(monitor.pageBrowser, "OK"));
  desk.advance(1s);
  EXPECT_EQ(boardRequests(desk).filter("QSP_PORT=2222").size(), 1);
}
