// A day's watch: monitors run for hours against an unchanged port. Every few hours a browser
// gets a fresh engine page (WebBrowser::kPagesPerEnginePage) so that what the engine gathers
// page by page goes with the old one. These stories hold what a user must not notice: no false
// alert, no missed change, the baseline and caption kept, and never a fresh page while an alert
// holds its page on show.
#include <gtest/gtest.h>

#include <QUrl>

#include "common/settings/settings.h"
#include "console/console_window.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/web_browser.h"
#include "scenario/scenario_helpers.h"
#include "sim_port_desktop.h"
#include "sites/board_service.h"
#include "sites/imct_service.h"
#include "sites/port_sites.h"
#include "test_printers.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

const Tone kAlertLow{1000, 300ms};

class LongWatch : public testing::Test {
 protected:
  LongWatch() {
    saveKnownPilots();
    saveKnownAccount();
    console_ = &startConsole(desk);
  }

  WharfMonitor& openWharf(const QString& code) {
    console_->wharfField.setText(code);
    desk.click(console_->wharfButton);
    desk.advance(2s);
    WharfMonitor& monitor = windowCaptioned<WharfMonitor>(desk, code);
    EXPECT_TRUE(monitor.hasBaseline()) << code.toStdString();
    return monitor;
  }

  // A registration monitor opened as the batch opens it: hidden, the number not yet found.
  RegistrationMonitor& openHiddenRegistration(const QString& number) {
    typeAndClick(desk, console_->registrationField, number, console_->registrationButton);
    RegistrationMonitor& monitor = windowCaptioned<RegistrationMonitor>(desk, number);
    desk.closeBox(monitor);
    desk.advance(5s);
    EXPECT_EQ(ReadSetting("Touchfiles", number, "none"), "0");
    return monitor;
  }

  // The fresh pages the browser was given so far.
  std::vector<SimWeb::FreshPage> freshPagesOf(const WebBrowser& browser) const {
    std::vector<SimWeb::FreshPage> out;
    for (const SimWeb::FreshPage& page : desk.freshPages()) {
      if (page.browser == &browser) out.push_back(page);
    }
    return out;
  }

  // Each fresh page came at a navigation the window asked for (a reload or a query) of the
  // page it showed, the navigation before completed: no load was cut short.
  void expectQuietMoments(const WebBrowser& browser) const {
    for (const SimWeb::FreshPage& fresh : freshPagesOf(browser)) {
      SCOPED_TRACE(testing::Message() << "fresh page at " << fresh.atMs << " ms");
      ASSERT_TRUE(fresh.last.has_value());
      EXPECT_EQ(desk.navigations()[*fresh.last].state, SimNavigation::State::Completed);
      ASSERT_LT(fresh.next, desk.navigations().size());
      const SimNavigation& next = desk.navigations()[fresh.next];
      EXPECT_EQ(next.startedMs, fresh.atMs) << "at once, in the same navigation";
      EXPECT_EQ(next.browser, desk.navigations()[*fresh.last].browser);
      EXPECT_EQ(QUrl(next.request.url).path(), QUrl(fresh.url).path()) << "the same page again";
    }
  }

  int alertTones() const {
    return static_cast<int>(std::count(desk.beeps().begin(), desk.beeps().end(), kAlertLow));
  }

  SimPortDesktop desk;
  ConsoleWindow* console_ = nullptr;
};

}  // namespace

// Two wharf monitors for five hours: each gets a fresh page at the reload after two hours and
// again after four, reads the same board on it, and never alerts. A moved time alerts at the
// next reload as ever.
TEST_F(LongWatch, BoardMonitorsGetAFreshPageEveryTwoHoursAtAReloadAndStayQuiet) {
  WharfMonitor& first = openWharf("1108");
  WharfMonitor& second = openWharf("1110");
  const QString firstBaseline = first.baseline();
  const QString secondBaseline = second.baseline();

  desk.advance(1h + 50min);
  EXPECT_TRUE(desk.freshPages().empty()) << "not within the first two hours";
  desk.advance(3h + 10min);

  for (BoardMonitor* monitor : std::vector<BoardMonitor*>{&first, &second}) {
    SCOPED_TRACE(monitor->Caption().toStdString());
    EXPECT_EQ(freshPagesOf(monitor->pageBrowser).size(), 2u);
    expectQuietMoments(monitor->pageBrowser);
    EXPECT_EQ(monitor->latest(), monitor->baseline());
    EXPECT_TRUE(monitor->pollTimer.Enabled());
  }
  EXPECT_EQ(first.Caption(), "1108");
  EXPECT_EQ(second.Caption(), "1110");
  EXPECT_EQ(first.baseline(), firstBaseline);
  EXPECT_EQ(second.baseline(), secondBaseline);
  EXPECT_EQ(alertTones(), 0) << "no false alert";
  EXPECT_TRUE(desk.boxes().empty());

  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
  desk.advance(65s);
  EXPECT_TRUE(first.isAlerting());
  EXPECT_FALSE(second.isAlerting());
}

// The board changes just before the reload that brings the fresh page: that very reload, on
// the fresh page, reads the change and alerts against the baseline taken hours before.
TEST_F(LongWatch, AChangeAtTheMomentOfTheFreshPageAlertsAtThatReload) {
  WharfMonitor& monitor = openWharf("1108");
  const QString baseline = monitor.baseline();
  while (monitor.pageBrowser.PagesOnEnginePage() < WebBrowser::kPagesPerEnginePage) {
    desk.advance(10s);
  }
  ASSERT_TRUE(freshPagesOf(monitor.pageBrowser).empty());
  ASSERT_FALSE(monitor.isAlerting());

  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
  desk.advance(65s);

  EXPECT_EQ(freshPagesOf(monitor.pageBrowser).size(), 1u);
  expectQuietMoments(monitor.pageBrowser);
  EXPECT_TRUE(monitor.isAlerting()) << "the change is not missed";
  EXPECT_GT(alertTones(), 0);
  EXPECT_EQ(monitor.baseline(), baseline);
  EXPECT_NE(monitor.latest(), baseline);
  EXPECT_TRUE(monitor.changeLine.Caption().contains("14:30 → 23:45"))
      << monitor.changeLine.Caption().toStdString();
}

// An alert nobody stops for a night: the changed page stays on show, never replaced, however
// many hours pass; the other monitor, not alerting, gets its fresh pages meanwhile.
TEST_F(LongWatch, AnAlertingMonitorKeepsItsPageOnShowAndGetsNoFreshPage) {
  WharfMonitor& alerting = openWharf("1108");
  WharfMonitor& quiet = openWharf("1110");
  desk.advance(1h);
  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
  desk.advance(65s);
  ASSERT_TRUE(alerting.isAlerting());
  const auto shown = alerting.pageBrowser.Document();
  ASSERT_TRUE(shown);
  const int tones = alertTones();

  desk.advance(8h);

  EXPECT_TRUE(alerting.isAlerting());
  EXPECT_GT(alertTones(), tones) << "still beeping";
  EXPECT_TRUE(freshPagesOf(alerting.pageBrowser).empty()) << "never during an alert";
  EXPECT_EQ(alerting.pageBrowser.Document(), shown) << "the changed page stays on show";
  EXPECT_TRUE(alerting.changeLine.Caption().contains("14:30 → 23:45"));
  EXPECT_GE(freshPagesOf(quiet.pageBrowser).size(), 2u);
  expectQuietMoments(quiet.pageBrowser);
  EXPECT_FALSE(quiet.isAlerting());
  EXPECT_EQ(quiet.latest(), quiet.baseline());
}

// A hidden registration monitor queries every five minutes through the night. Its fresh page
// keeps the session (the engine's cookies belong to the profile, not the page): it records no
// finding it has not had, shows nothing, and finds the number once the service has it.
TEST_F(LongWatch, ARegistrationMonitorKeepsItsSessionOnAFreshPageAndStillFindsTheNumber) {
  RegistrationMonitor& monitor = openHiddenRegistration("01VXXX");
  auto logins = [this] { return desk.sites().requestLog().filter("LoginCheck.jsp").size(); };
  while (freshPagesOf(monitor.pageBrowser).empty() && desk.clock().elapsedMs() < 30 * 3600000LL) {
    desk.advance(10min);
  }
  ASSERT_EQ(freshPagesOf(monitor.pageBrowser).size(), 1u) << "within a day and a bit";
  expectQuietMoments(monitor.pageBrowser);
  const auto loginsBefore = logins();
  const auto queries = desk.sites().requestLog().filter("sp4100.jsp").size();
  desk.advance(11min);  // two more queries on the fresh page

  EXPECT_EQ(ReadSetting("Touchfiles", "01VXXX", "none"), "0") << "no finding it has not had";
  EXPECT_FALSE(monitor.isAlerting());
  EXPECT_FALSE(monitor.Visible());
  EXPECT_EQ(monitor.Caption(), "01VXXX");
  EXPECT_TRUE(desk.boxes().empty());
  EXPECT_EQ(logins(), loginsBefore) << "the session is kept";
  EXPECT_GT(desk.sites().requestLog().filter("sp4100.jsp").size(), queries);

  desk.sites().imct().setFinding("01VXXX", {" YM HARMONY ", 12, 3});
  desk.advance(301s);
  EXPECT_EQ(ReadSetting("Touchfiles", "01VXXX", "none"), "1");
  EXPECT_TRUE(monitor.isAlerting());
  desk.advance(10s);  // the notification mail goes out
}
