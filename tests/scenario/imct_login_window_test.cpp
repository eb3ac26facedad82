#include <gtest/gtest.h>

#include "test_printers.h"

#include "imct/imct_login_window.h"
#include "scenario/scenario_helpers.h"
#include "sites/big5_page.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

ConsoleWindow& startWithServers(SimDesktop& desk) {
  useServer("imct", "https://imct.test");
  useServer("maker", "http://maker.test");
  saveKnownAccount();
  return startConsole(desk);
}

std::vector<ImctLoginWindow*> loginWindows(SimDesktop& desk) {
  std::vector<ImctLoginWindow*> found;
  for (Form* window : desk.windows().all()) {
    if (auto* login = dynamic_cast<ImctLoginWindow*>(window); login && !login->isUnloaded()) {
      found.push_back(login);
    }
  }
  return found;
}

QStringList requestsTo(SimDesktop& desk, const QString& path) {
  return desk.sites().requestLog().filter(path);
}

}  // namespace

TEST(ImctLoginWindow, EachClickOpensItsOwnWindowThatLogsInAndShowsTheMakersPage) {
  struct Case {
    CommandButton ConsoleWindow::*button;
    const char* page;
  };
  for (const Case& c : {Case{&ConsoleWindow::imctBcButton, "/pda/imct.php"},
                        Case{&ConsoleWindow::imctBaButton, "/pda/imctba.php"},
                        Case{&ConsoleWindow::imctBeButton, "/pda/imctbe.php"}}) {
    SCOPED_TRACE(c.page);
    SimDesktop desk;
    ConsoleWindow& console = startWithServers(desk);
    for (int i = 0; i < 3; ++i) desk.click(console.*c.button);
    desk.advance(3s);

    const auto windows = loginWindows(desk);
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(requestsTo(desk, "POST /APIMCT/pages/LoginCheck.jsp").size(), 3);
    for (ImctLoginWindow* window : windows) {
      EXPECT_EQ(window->Caption(), "卸貨淮單清表查詢");
      EXPECT_TRUE(window->Visible());
      EXPECT_EQ(window->pageBrowser.LocationURL(), QString("http://maker.test") + c.page);
    }
  }
}

TEST(ImctLoginWindow, ARefusedAccountEndsTheProgramAfterTheBoxWhateverTheAnswer) {
  for (BoxResult answer : {BoxResult::Cancel, BoxResult::TryAgain, BoxResult::Continue}) {
    SCOPED_TRACE(static_cast<int>(answer));
    SimDesktop desk;
    desk.sites().imct().setAccount("SOMEONE", "ELSE");
    ConsoleWindow& console = startWithServers(desk);
    desk.click(console.imctBcButton);
    desk.advance(2s);

    ASSERT_EQ(desk.openBoxes().size(), 1u);
    EXPECT_EQ(desk.openBoxes()[0]->texts.front(), "帳號或密碼錯誤！");
    EXPECT_EQ(desk.openBoxes()[0]->style, BoxButtons::CancelTryAgainContinue);
    EXPECT_EQ(requestsTo(desk, "GET /pda/Tidex_error.php").size(), 1);
    desk.answer(answer);
    EXPECT_TRUE(desk.ended());
    EXPECT_FALSE(desk.tray().shown);
  }
}

TEST(ImctLoginWindow, ALostLoginLogsInAgain) {
  SimDesktop desk;
  ConsoleWindow& console = startWithServers(desk);
  desk.click(console.imctBcButton);
  desk.advance(3s);
  ImctLoginWindow& window = *loginWindows(desk).front();
  desk.sites().imct().expireSessions();

  window.pageBrowser.Navigate2("https://imct.test/APIMCT/pages/sp4100.jsp");  // says 非法登入
  desk.advance(3s);

  EXPECT_EQ(requestsTo(desk, "POST /APIMCT/pages/LoginCheck.jsp").size(), 2);
  EXPECT_EQ(window.pageBrowser.LocationURL(), "http://maker.test/pda/imct.php");
}

TEST(ImctLoginWindow, TheMakersPageNeverReceivesTheAccount) {
  SimDesktop desk;
  desk.sites().addPage("/pda/imct.php",
                       {200, "text/html; charset=big5",
                        sites::Big5Page("imct",
                                        "<form action=\"/collect\">"
                                        "<input name=\"UserName\"><input name=\"Passwd\">"
                                        "<input type=\"submit\"></form>")});
  ConsoleWindow& console = startWithServers(desk);
  desk.click(console.imctBcButton);
  desk.advance(4s);

  EXPECT_EQ(requestsTo(desk, "/collect"), QStringList{"GET /collect?UserName=&Passwd="});
}
