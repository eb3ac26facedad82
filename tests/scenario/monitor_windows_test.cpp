#include <gtest/gtest.h>

#include "test_printers.h"

#include <functional>

#include "common/settings.h"
#include "console/form1.h"
#include "imct/form4.h"
#include "imct/form8.h"
#include "imct/form9.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/form2.h"
#include "platform/sim/sim_desktop.h"
#include "scenario/scenario_helpers.h"

using namespace tidex;
using namespace std::chrono_literals;

namespace {

const QString kBoardTail = QStringLiteral("&QSP_PAGID=&SP_CALL=&SEARCH=1&iPage=&OK=%B7j%B4M");
const QString kImctLogin = QStringLiteral("https://imct.test/APIMCT/pages/Login_etp.jsp");
const QStringList kNeutraliserScripts{"function alert(){return;}", "function confirm(){return;}",
                                      "function showModalDialog(){return;}"};

// A console running against servers of our own naming, so every address shows its server.
Form1& startConsole(SimDesktop& desk) {
  scenario::saveKnownAccount();
  auto& console = desk.start<Form1>();
  WriteSetting("servers", "board", "http://board.test");
  WriteSetting("servers", "imct", "https://imct.test");
  WriteSetting("servers", "maker", "http://maker.test");
  return console;
}

Form1& consoleOf(SimDesktop& desk) { return *dynamic_cast<Form1*>(desk.windows().all().front()); }

// The addresses one browser ("Form6.WebBrowser1") was sent to, oldest first.
QStringList addressesOf(const SimDesktop& desk, const QString& browser) {
  QStringList urls;
  for (const SimNavigation& n : desk.navigations()) {
    if (n.browser == browser) urls << n.request.url;
  }
  return urls;
}

struct BoardKind {
  const char* name;
  TextBox Form1::*field;
  std::function<BoardMonitor&(SimDesktop&)> open;
};

const std::vector<BoardKind> kBoardKinds{
    {"Form6", &Form1::Text12,
     [](SimDesktop& d) -> BoardMonitor& { return d.load<Form6>(consoleOf(d)); }},
    {"Form3", &Form1::Text9,
     [](SimDesktop& d) -> BoardMonitor& { return d.load<Form3>(consoleOf(d)); }},
    {"Form7", &Form1::Text13,
     [](SimDesktop& d) -> BoardMonitor& { return d.load<Form7>(consoleOf(d)); }},
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
       "http://board.test/sdci/UA1006.ASP?QSP_ID=&QSP_ENAME=&QSP_PORT=1077" + kBoardTail},
      {"Form3", "YM HARMONY",
       "http://board.test/sdci/UA1006.ASP?QSP_ID=&QSP_ENAME=YM HARMONY&QSP_PORT=" + kBoardTail},
      // Taken as typed, odd characters and all: no query is built and nothing is encoded.
      {"Form7", "http://other.test/a b?X=%B7j&OK=?j?M", "http://other.test/a b?X=%B7j&OK=?j?M"},
  };
  for (const Case& c : cases) {
    SimDesktop desk;
    Form1& console = startConsole(desk);
    const BoardKind& kind = boardKind(c.kind);
    (console.*kind.field).setText(c.item);
    BoardMonitor& monitor = kind.open(desk);

    EXPECT_EQ(addressesOf(desk, QString(c.kind) + ".WebBrowser1"), QStringList{c.page}) << c.kind;
    EXPECT_TRUE(monitor.WebBrowser1.Silent()) << c.kind;
  }
}

TEST(BoardMonitorLoad, EachMonitorKeepsTheItemItsFieldHeldWhenItOpened) {
  SimDesktop desk;
  desk.sites().addPage("/sdci/UA1006.ASP", {200, "text/html", "<p>no search form</p>"});
  Form1& console = startConsole(desk);
  console.Text9.setText("EVER GIVEN");
  Form3& first = desk.load<Form3>(consoleOf(desk));
  first.setCaption("EVER GIVEN");
  console.Text9.setText("WAN HAI 101");
  desk.load<Form3>(consoleOf(desk));
  desk.advance(2s);

  const QString query = "http://board.test/sdci/UA1006.ASP?QSP_ID=&QSP_ENAME=";
  EXPECT_EQ(addressesOf(desk, "Form3.WebBrowser1"),
            QStringList({query + "EVER GIVEN&QSP_PORT=" + kBoardTail,
                         query + "WAN HAI 101&QSP_PORT=" + kBoardTail}));
  EXPECT_EQ(first.Caption(), "EVER GIVEN");  // the caption the console gave stays as it is
}

TEST(BoardMonitorLoad, StartsWatchingWithNoBaselineAndNoAlert) {
  for (const BoardKind& kind : kBoardKinds) {
    SimDesktop desk;
    startConsole(desk);
    BoardMonitor& m = kind.open(desk);
    SCOPED_TRACE(kind.name);

    EXPECT_EQ(m.Caption(), kind.name);
    EXPECT_TRUE(m.Timer1.running());
    EXPECT_EQ(m.Timer1.Interval(), 1000);
    EXPECT_FALSE(m.Timer2.Enabled());
    EXPECT_EQ(m.Timer2.Interval(), 5000);
    EXPECT_TRUE(m.Timer3.running());
    EXPECT_EQ(m.Timer3.Interval(), 1000);
    EXPECT_TRUE(m.mHide.Enabled());
    EXPECT_EQ(m.mHide.Caption(), "Hide");
    EXPECT_FALSE(m.mStopBeep.Enabled());
    EXPECT_EQ(m.mStopBeep.Caption(), "停止");
    EXPECT_FALSE(m.Frame1.Enabled());
    EXPECT_EQ(m.Text1.Text(), "A");  // no baseline yet
    EXPECT_FALSE(m.Visible());       // the console shows it after setting the caption
  }
}

TEST(RegistrationMonitorLoad, LogsInSilentlyWithPrintAndStopGreyed) {
  SimDesktop desk;
  startConsole(desk);
  Form2& w = desk.load<Form2>(consoleOf(desk));

  EXPECT_EQ(addressesOf(desk, "Form2.WebBrowser1"), QStringList{kImctLogin});
  EXPECT_TRUE(addressesOf(desk, "Form2.WebBrowser2").isEmpty());
  EXPECT_TRUE(addressesOf(desk, "Form2.WebBrowser3").isEmpty());
  EXPECT_TRUE(w.WebBrowser1.Silent());
  EXPECT_EQ(w.Caption(), "Form2");
  EXPECT_FALSE(w.Frame1.Enabled());

  EXPECT_FALSE(w.mUnload.Visible());
  EXPECT_FALSE(w.mHide.Visible());
  EXPECT_TRUE(w.mPrint.Visible());
  EXPECT_FALSE(w.mPrint.Enabled());
  EXPECT_TRUE(w.mStopBeep.Visible());
  EXPECT_FALSE(w.mStopBeep.Enabled());

  EXPECT_TRUE(w.Timer1.running());
  EXPECT_EQ(w.Timer1.Interval(), 1000);
  EXPECT_FALSE(w.Timer2.Enabled());
  EXPECT_EQ(w.Timer2.Interval(), 5000);
  EXPECT_TRUE(w.Timer3.running());
  EXPECT_EQ(w.Timer3.Interval(), 1000);
  EXPECT_FALSE(w.Timer4.Enabled());
  EXPECT_EQ(w.Timer4.Interval(), 3000);
}

TEST(ImctLoginWindowLoad, EachVariantLogsInWithoutSilenceAndKnowsItsMakerPage) {
  struct Case {
    const char* name;
    std::function<ImctLoginWindow&(SimDesktop&)> open;
    QString pageAfterLogin;
  };
  const Case cases[] = {
      {"Form4", [](SimDesktop& d) -> ImctLoginWindow& { return d.load<Form4>(consoleOf(d)); },
       "http://maker.test/pda/imct.php"},
      {"Form8", [](SimDesktop& d) -> ImctLoginWindow& { return d.load<Form8>(consoleOf(d)); },
       "http://maker.test/pda/imctba.php"},
      {"Form9", [](SimDesktop& d) -> ImctLoginWindow& { return d.load<Form9>(consoleOf(d)); },
       "http://maker.test/pda/imctbe.php"},
  };
  for (const Case& c : cases) {
    SimDesktop desk;
    startConsole(desk);
    ImctLoginWindow& w = c.open(desk);
    SCOPED_TRACE(c.name);

    EXPECT_EQ(addressesOf(desk, QString(c.name) + ".WebBrowser1"), QStringList{kImctLogin});
    EXPECT_FALSE(w.WebBrowser1.Silent());
    EXPECT_TRUE(w.Frame1.Enabled());
    EXPECT_EQ(w.PageAfterLogin(), c.pageAfterLogin);
  }
}

TEST(MonitorWindows, EveryBrowserDisarmsThePageScriptsOfEachPage) {
  SimDesktop desk;
  startConsole(desk);
  desk.load<Form6>(consoleOf(desk));
  desk.load<Form3>(consoleOf(desk));
  desk.load<Form7>(consoleOf(desk));
  desk.load<Form4>(consoleOf(desk));
  desk.load<Form8>(consoleOf(desk));
  desk.load<Form9>(consoleOf(desk));
  Form2& registration = desk.load<Form2>(consoleOf(desk));
  registration.WebBrowser2.Navigate2("http://maker.test/pda/mail.php");
  registration.WebBrowser3.Navigate2("http://board.test/sdci/UA1006.ASP");
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
  SimDesktop desk;
  startConsole(desk);
  auto check = [&desk](auto& w) {
    SCOPED_TRACE(w.Name().toStdString());
    auto fills = [&w](int width, int height) {
      for (const Geometry& g : {w.Frame1.geometry(), w.WebBrowser1.geometry()}) {
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
  check(desk.load<Form2>(consoleOf(desk)));
  check(desk.load<Form6>(consoleOf(desk)));
  check(desk.load<Form4>(consoleOf(desk)));
}
