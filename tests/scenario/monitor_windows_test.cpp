#include <gtest/gtest.h>

#include "board_path.h"
#include "test_printers.h"

#include <functional>

#include "common/settings/settings.h"
#include "console/console_window.h"
#include "imct/imct_login_window.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "scenario/scenario_helpers.h"
#include "sim_port_desktop.h"

using namespace tidex;
using namespace std::chrono_literals;

namespace {

const QString kBoardTail = QStringLiteral("&QSP_PAGID=&SP_CALL=&SEARCH=1&iPage=&OK=%B7j%B4M");
const QString kImctLogin = QStringLiteral("https://imct.test/APIMCT/pages/Login_etp.jsp");
const QStringList kNeutraliserScripts{"function alert(){return;}", "function confirm(){return;}",
                                      "function showModalDialog(){return;}"};

// A console running against servers of our own naming, so every address shows its server.
ConsoleWindow& startConsole(SimDesktop& desk) {
  scenario::saveKnownAccount();
  auto& console = desk.start<ConsoleWindow>();
  WriteSetting("servers", "board", "http://board.test");
  WriteSetting("servers", "imct", "https://imct.test");
  WriteSetting("servers", "maker", "http://maker.test");
  return console;
}

// The addresses one browser ("WharfMonitor.pageBrowser") was sent to, oldest first.
QStringList addressesOf(const SimDesktop& desk, const QString& browser) {
  QStringList urls;
  for (const SimNavigation& n : desk.navigations()) {
    if (n.browser == browser) urls << n.request.url;
  }
  return urls;
}

struct BoardKind {
  const char* name;
  TextBox ConsoleWindow::*field;
  std::function<BoardMonitor&(SimDesktop&)> open;
};

const std::vector<BoardKind> kBoardKinds{
    {"Form6", &ConsoleWindow::wharfField,
     [](SimDesktop& d) -> BoardMonitor& { return d.load<WharfMonitor>(scenario::consoleOf(d)); }},
    {"Form3", &ConsoleWindow::vesselField,
     [](SimDesktop& d) -> BoardMonitor& { return d.load<VesselMonitor>(scenario::consoleOf(d)); }},
    {"Form7", &ConsoleWindow::urlField,
     [](SimDesktop& d) -> BoardMonitor& { return d.load<UrlMonitor>(scenario::consoleOf(d)); }},
};

const BoardKind& boardKind(const char* name) {
  for (const BoardKind& kind : kBoardKinds) {
    if (QLatin1String(kind.name) == QLatin1String(name)) return kind;
  }
  std::abort();
}

}  // namespace

TEST(BoardMonitorLoad, EachKindLoadsThePageForTheItemInItsConsoleField) {
  struct Case {
    const char* kind;
    QString item;
    QString page;
  };
  const Case cases[] = {
      {"Form6", "1077",
       "http://board.test" + kBoardPath + "?QSP_ID=&QSP_ENAME=&QSP_PORT=1077" + kBoardTail},
      {"Form3", "YM HARMONY",
       "http://board.test" + kBoardPath + "?QSP_ID=&QSP_ENAME=YM HARMONY&QSP_PORT=" + kBoardTail},
      // Taken as typed, odd characters and all: no query is built and nothing is encoded.
      {"Form7", "http://other.test/a b?X=%B7j&OK=?j?M", "http://other.test/a b?X=%B7j&OK=?j?M"},
  };
  for (const Case& c : cases) {
    SimPortDesktop desk;
    ConsoleWindow& console = startConsole(desk);
    const BoardKind& kind = boardKind(c.kind);
    (console.*kind.field).setText(c.item);
    BoardMonitor& monitor = kind.open(desk);

    EXPECT_EQ(addressesOf(desk, QString(c.kind) + ".WebBrowser1"), QStringList{c.page}) << c.kind;
    EXPECT_TRUE(monitor.pageBrowser.Silent()) << c.kind;
  }
}

TEST(BoardMonitorLoad, EachMonitorKeepsTheItemItsFieldHeldWhenItOpened) {
  SimPortDesktop desk;
  desk.sites().addPage(kBoardPath.toLatin1(), {200, "text/html", "<p>no search form</p>"});
  ConsoleWindow& console = startConsole(desk);
  console.vesselField.setText("EVER GIVEN");
  VesselMonitor& first = desk.load<VesselMonitor>(scenario::consoleOf(desk));
  first.setCaption("EVER GIVEN");
  console.vesselField.setText("WAN HAI 101");
  desk.load<VesselMonitor>(scenario::consoleOf(desk));
  desk.advance(2s);

  const QString query = "http://board.test" + kBoardPath + "?QSP_ID=&QSP_ENAME=";
  EXPECT_EQ(addressesOf(desk, "Form3.WebBrowser1"),
            QStringList({query + "EVER GIVEN&QSP_PORT=" + kBoardTail,
                         query + "WAN HAI 101&QSP_PORT=" + kBoardTail}));
  EXPECT_EQ(first.Caption(), "EVER GIVEN");  // the caption the console gave stays as it is
}

TEST(BoardMonitorLoad, StartsWatchingWithNoBaselineAndNoAlert) {
  for (const BoardKind& kind : kBoardKinds) {
    SimPortDesktop desk;
    startConsole(desk);
    BoardMonitor& m = kind.open(desk);
    SCOPED_TRACE(kind.name);

    EXPECT_EQ(m.Caption(), kind.name);
    EXPECT_TRUE(m.pollTimer.running());
    EXPECT_EQ(m.pollTimer.Interval(), 1s);
    EXPECT_FALSE(m.isAlerting());
    EXPECT_EQ(m.alertTimer.Interval(), 5s);
    EXPECT_TRUE(m.showAllTimer.running());
    EXPECT_EQ(m.showAllTimer.Interval(), 1s);
    EXPECT_TRUE(m.hideMenu.Enabled());
    EXPECT_EQ(m.hideMenu.Caption(), "Hide");
    EXPECT_FALSE(m.stopBeepMenu.Enabled());
    EXPECT_EQ(m.stopBeepMenu.Caption(), "停止");
    EXPECT_FALSE(m.pageFrame.Enabled());
    EXPECT_FALSE(m.hasBaseline());  // no baseline yet
    EXPECT_FALSE(m.Visible());      // the console shows it after setting the caption
  }
}

TEST(RegistrationMonitorLoad, LogsInSilentlyWithPrintAndStopGreyed) {
  SimPortDesktop desk;
  startConsole(desk);
  RegistrationMonitor& w = desk.load<RegistrationMonitor>(scenario::consoleOf(desk));

  EXPECT_EQ(addressesOf(desk, "Form2.WebBrowser1"), QStringList{kImctLogin});
  EXPECT_TRUE(addressesOf(desk, "Form2.WebBrowser2").isEmpty());
  EXPECT_TRUE(addressesOf(desk, "Form2.WebBrowser3").isEmpty());
  EXPECT_TRUE(w.pageBrowser.Silent());
  EXPECT_EQ(w.Caption(), "Form2");
  EXPECT_FALSE(w.pageFrame.Enabled());

  EXPECT_FALSE(w.unloadMenu.Visible());
  EXPECT_FALSE(w.hideMenu.Visible());
  EXPECT_TRUE(w.printMenu.Visible());
  EXPECT_FALSE(w.printMenu.Enabled());
  EXPECT_TRUE(w.stopBeepMenu.Visible());
  EXPECT_FALSE(w.stopBeepMenu.Enabled());

  EXPECT_TRUE(w.pollTimer.running());
  EXPECT_EQ(w.pollTimer.Interval(), 1s);
  EXPECT_FALSE(w.isAlerting());
  EXPECT_EQ(w.alertTimer.Interval(), 5s);
  EXPECT_TRUE(w.showAllTimer.running());
  EXPECT_EQ(w.showAllTimer.Interval(), 1s);
  EXPECT_FALSE(w.printMenuTimer.Enabled());
  EXPECT_EQ(w.printMenuTimer.Interval(), 3s);
}

TEST(ImctLoginWindowLoad, EachVariantLogsInWithoutSilenceAndKnowsItsMakerPage) {
  struct Case {
    const char* name;
    std::function<ImctLoginWindow&(SimDesktop&)> open;
    QString pageAfterLogin;
  };
  const Case cases[] = {
      {"Form4",
       [](SimDesktop& d) -> ImctLoginWindow& {
         return d.load<ImctLoginWindow>(scenario::consoleOf(d), ImctPageKind::Bc);
       },
       "http://maker.test/pda/imct.php"},
      {"Form8",
       [](SimDesktop& d) -> ImctLoginWindow& {
         return d.load<ImctLoginWindow>(scenario::consoleOf(d), ImctPageKind::Ba);
       },
       "http://maker.test/pda/imctba.php"},
      {"Form9",
       [](SimDesktop& d) -> ImctLoginWindow& {
         return d.load<ImctLoginWindow>(scenario::consoleOf(d), ImctPageKind::Be);
       },
       "http://maker.test/pda/imctbe.php"},
  };
  for (const Case& c : cases) {
    SimPortDesktop desk;
    startConsole(desk);
    ImctLoginWindow& w = c.open(desk);
    SCOPED_TRACE(c.name);

    EXPECT_EQ(addressesOf(desk, QString(c.name) + ".WebBrowser1"), QStringList{kImctLogin});
    EXPECT_FALSE(w.pageBrowser.Silent());
    EXPECT_TRUE(w.pageFrame.Enabled());
    EXPECT_EQ(w.pageAfterLogin(), c.pageAfterLogin);
  }
}

TEST(MonitorWindows, EveryBrowserDisarmsThePageScriptsOfEachPage) {
  SimPortDesktop desk;
  startConsole(desk);
  desk.load<WharfMonitor>(scenario::consoleOf(desk));
  desk.load<VesselMonitor>(scenario::consoleOf(desk));
  desk.load<UrlMonitor>(scenario::consoleOf(desk));
  desk.load<ImctLoginWindow>(scenario::consoleOf(desk), ImctPageKind::Bc);
  desk.load<ImctLoginWindow>(scenario::consoleOf(desk), ImctPageKind::Ba);
  desk.load<ImctLoginWindow>(scenario::consoleOf(desk), ImctPageKind::Be);
  RegistrationMonitor& registration = desk.load<RegistrationMonitor>(scenario::consoleOf(desk));
  registration.mailBrowser.Navigate2("http://maker.test/pda/mail.php");
  registration.boardBrowser.Navigate2("http://board.test" + kBoardPath);
  desk.advance(1s);

  for (const char* browser : {"Form6.WebBrowser1", "Form3.WebBrowser1", "Form7.WebBrowser1",
                              "Form4.WebBrowser1", "Form8.WebBrowser1", "Form9.WebBrowser1",
                              "Form2.WebBrowser1", "Form2.WebBrowser2", "Form2.WebBrowser3"}) {
    int pages = 0;
    for (const SimNavigation& n : desk.navigations()) {
      if (n.browser != browser || n.state != SimNavigation::State::Completed) continue;
      ++pages;
      EXPECT_EQ(n.scripts, kNeutraliserScripts) << browser;
    }
    EXPECT_GE(pages, 1) << browser;
  }
}

TEST(MonitorWindows, FrameAndBrowserFillTheClientAreaAtOpeningAndOnResize) {
  SimPortDesktop desk;
  startConsole(desk);
  auto check = [&desk](auto& w) {
    SCOPED_TRACE(w.Name().toStdString());
    auto fills = [&w](int width, int height) {
      for (const Geometry& g : {w.pageFrame.geometry(), w.pageBrowser.geometry()}) {
        EXPECT_EQ(g.left, 0);
        EXPECT_EQ(g.top, 0);
        EXPECT_EQ(g.width, width);
        EXPECT_EQ(g.height, height);
      }
    };
    fills(1008, 546);
    desk.resize(w, 640, 300);
    fills(640, 300);
  };
  check(desk.load<RegistrationMonitor>(scenario::consoleOf(desk)));
  check(desk.load<WharfMonitor>(scenario::consoleOf(desk)));
  check(desk.load<ImctLoginWindow>(scenario::consoleOf(desk), ImctPageKind::Bc));
}
