#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "teardown_checks.h"
#include "test_printers.h"

#include "common/alerting/timed_box.h"
#include "common/page/page_wait.h"
#include "platform/message_box.h"
#include "platform/task.h"
#include "platform/web_browser.h"
#include "sim_port_desktop.h"

using namespace tidex;
using namespace std::chrono_literals;
using sites::SiteResponse;

namespace {

const QString kHost = QStringLiteral("http://127.0.0.1:8080");

// Notes in the window's log when the frame that holds it goes, resumed or not.
struct EndMark {
  QStringList& log;
  QString name;
  ~EndMark() { log << name; }
};

// A window whose handlers wait on its browser, on a box or on a countdown; a handler may
// unload the window as soon as its wait ends.
class Waiting final : public Form {
 public:
  Waiting() : Form("Waiting") {}

  WebBrowser pageBrowser{*this, "WebBrowser1"};
  QStringList resumed;  // waits that returned, in order
  QStringList ended;    // handler frames that went

  Task WaitForPage(QString name, bool leave = false) {
    EndMark mark{ended, name};
    co_await PageWait(pageBrowser);
    goOn(name, leave);
  }
  Task Ask(QString name, bool leave = false) {
    EndMark mark{ended, name};
    co_await MessageBox(name + " ", BoxButtons::YesNoCancel, "訊息");
    goOn(name, leave);
  }
  Task AskTimed(QString name, bool leave = false) {
    EndMark mark{ended, name};
    co_await ShowTimedBox(name + " ", BoxButtons::YesNoCancel);
    goOn(name, leave);
  }

 private:
  void goOn(const QString& name, bool leave) {
    resumed << name;
    if (leave) Unload();
  }
};

QStringList sorted(QStringList list) {
  list.sort();
  return list;
}

}  // namespace

TEST(HandlerLifetime, UnloadingAWindowEndsItsPageWaitBoxAndCountdownAtOnce) {
  SimPortDesktop desk;
  desk.sites().addPage("/slow", {200, "text/html; charset=utf-8", "<p>slow</p>"});
  desk.setNetworkDelay(30s);
  auto& w = desk.start<Waiting>();
  w.pageBrowser.Navigate2(kHost + "/slow");
  w.WaitForPage("page");
  w.Ask("box");
  w.AskTimed("countdown");
  desk.advance(2s);
  ASSERT_EQ(desk.openBoxes().size(), 2u);
  ASSERT_TRUE(w.ended.isEmpty());

  w.Unload();

  EXPECT_EQ(sorted(w.ended), QStringList({"box", "countdown", "page"}));
  EXPECT_TRUE(desk.openBoxes().empty());
  desk.answer(BoxResult::Yes);  // nothing left to answer
  desk.advance(60s);            // past the page's answer and the end of the countdown
  EXPECT_TRUE(w.resumed.isEmpty());
  EXPECT_EQ(desk.boxes()[1].texts.size(), 3) << "the countdown went on after the window";
  EXPECT_EQ(desk.navigations()[0].state, SimNavigation::State::Dropped);
}

TEST(HandlerLifetime, AHandlerThatUnloadsItsWindowEndsTheWaitsThatEndedWithItsOwn) {
  // In each case both waits end at the same moment and the first handler to go on unloads the
  // window: the second, already released by its source, must not resume.
  struct Case {
    const char* name;
    void (*start)(Waiting& w);
  };
  const Case cases[] = {
      {"one page",
       [](Waiting& w) {
         w.pageBrowser.Navigate2(kHost + "/page");
         w.WaitForPage("first", true);
         w.WaitForPage("second");
       }},
      {"two countdowns",
       [](Waiting& w) {
         w.AskTimed("first", true);
         w.AskTimed("second");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimPortDesktop desk;
    desk.sites().addPage("/page", {200, "text/html; charset=utf-8", "<p>page</p>"});
    auto& w = desk.start<Waiting>();
    c.start(w);

    desk.advance(10s);

    EXPECT_EQ(w.resumed, QStringList{"first"});
    EXPECT_EQ(sorted(w.ended), QStringList({"first", "second"}));
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_TRUE(desk.openBoxes().empty());
  }
}

TEST(HandlerLifetime, APageOrBoxLeftWaitingFailsTheTestThatLeftIt) {
  struct Case {
    const char* name;
    void (*leave)(SimPortDesktop& desk);
    const char* failure;
  };
  const Case cases[] = {
      {"stalled page",
       [](SimPortDesktop& desk) {
         desk.sites().addPage("/hang", SiteResponse::never());
         auto& w = desk.start<Waiting>();
         w.pageBrowser.Navigate2(kHost + "/hang");
         w.WaitForPage("page");
         desk.advance(61s);
       },
       "Waiting.WebBrowser1 never completed http://127.0.0.1:8080/hang"},
      {"unanswered box of a handler without a window",
       [](SimPortDesktop& desk) {
         []() -> Task {
           co_await MessageBox("是否重新開船名？ ", BoxButtons::YesNoCancel, "訊息");
         }();
         desk.advance(1s);
       },
       "a message box nobody answered: 是否重新開船名？ "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FailOnLeftoversOfDesktops();  // nothing left over so far
    {
      SimPortDesktop desk;
      c.leave(desk);
    }
    EXPECT_NONFATAL_FAILURE(FailOnLeftoversOfDesktops(), c.failure);
  }
}
