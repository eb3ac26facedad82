#include <gtest/gtest.h>

#include "board_path.h"
#include "test_printers.h"

#include "monitors/registration/registration_monitor.h"
#include "platform/ansi_text.h"
#include "scenario/scenario_helpers.h"
#include "sites/big5_page.h"
#include "sites/form_data.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

const QString kNumber = QStringLiteral("01VXXX");
const QString kBoardTail = QStringLiteral("&QSP_PAGID=&SP_CALL=&SEARCH=1&iPage=&OK=%B7j%B4M");

struct Watch {
  ConsoleWindow& console;
  RegistrationMonitor& monitor;
};

// The user's account is the one the service knows; the servers are named by the test.
Watch watchNumber(SimDesktop& desk, const QString& number = kNumber,
                  const QString& imctServer = "https://imct.test") {
  useServer("imct", imctServer);
  useServer("maker", "http://maker.test");
  useServer("board", "http://board.test");
  useServer("boardip", "http://10.1.1.5");
  ConsoleWindow& console = startConsole(desk);
  desk.type(console.accountField, "TIDEX");
  desk.type(console.passwordField, "PASS");
  typeAndClick(desk, console.registrationField, number, console.registrationButton);
  return {console, windowCaptioned<RegistrationMonitor>(desk, number)};
}

QString setting(const char* section, const QString& key) {
  return ReadSetting(section, key, "No Settings");
}

// The settings file's sections in file order: new sections go to the end, so this is the
// order in which they were first written.
QStringList sectionOrder() {
  QFile file(settingsFilePath());
  file.open(QIODevice::ReadOnly);
  QStringList sections;
  for (const QByteArray& line : file.readAll().split('\n')) {
    if (line.startsWith('[')) sections << fromAnsi(line.trimmed());
  }
  return sections;
}

QStringList requestsTo(SimPortDesktop& desk, const QString& path) {
  return desk.sites().requestLog().filter(path);
}

void answerQueryWith(SimPortDesktop& desk, const QString& body) {
  desk.sites().addPage("/APIMCT/pages/sp4100.jsp",
                       {200, "text/html; charset=big5", sites::Big5Page("sp4100", body)});
}

}  // namespace

TEST(RegistrationQuery, NoDataIsRecordedAndPollingGoesOnUntilTheCountsAppearAndOneMailGoesOut) {
  SimPortDesktop desk;
  auto [console, monitor] = watchNumber(desk);
  desk.sites().mail().setAnswerOffersForm(true);  // a mail service that offers its form again

  desk.advance(3s);
  EXPECT_EQ(setting("Touchfiles", kNumber), "0");
  EXPECT_EQ(setting("NoTouchfilesTime", kNumber), "2026/12/08 10:00:00");
  EXPECT_EQ(sectionOrder().mid(2), (QStringList{"[NoTouchfilesTime]", "[Touchfiles]"}));
  EXPECT_TRUE(monitor.pollTimer.Enabled());
  EXPECT_FALSE(monitor.isAlerting());
  EXPECT_TRUE(monitor.lastPageText().contains("無符合資料"));

  desk.sites().imct().setFinding(kNumber, {" YM HARMONY ", 12, 3});
  desk.advance(300s);
  EXPECT_EQ(setting("Touchfiles", kNumber), "1");
  EXPECT_EQ(setting("TouchfilesTime", kNumber), "2026/12/08 10:05:01");
  EXPECT_EQ(sectionOrder().last(), "[TouchfilesTime]");
  EXPECT_FALSE(monitor.pollTimer.Enabled());
  EXPECT_TRUE(monitor.isAlerting());

  desk.advance(60s);
  const auto& mails = desk.sites().mail().submissions();
  ASSERT_EQ(mails.size(), 1u);  // not once per completed page, not again on the thanks page
  EXPECT_EQ(sites::FieldValue(mails[0], "name"), "01VXXX  YM HARMONY ");
  EXPECT_EQ(sites::FieldValue(mails[0], "mail"), "HARBOUR-PC");
  const QString extract = sites::FieldValue(mails[0], "namea").value_or("");
  EXPECT_TRUE(extract.contains("YM HARMONY")) << extract.toStdString();
  EXPECT_TRUE(requestsTo(desk, kBoardPath)
                  .contains("GET " + kBoardPath +
                            "?QSP_ID=&QSP_ENAME=%20YM%20HARMONY%20&QSP_PORT=" + kBoardTail));
  EXPECT_EQ(desk.beeps().size(), 24u);  // the alert loop: two tones every five seconds
}

TEST(RegistrationQuery, EitherCountAloneIsAFinding) {
  for (const QString answer : {"實櫃數 3", "空櫃數 1", "無符合資料"}) {
    SCOPED_TRACE(answer.toStdString());
    SimPortDesktop desk;
    answerQueryWith(desk, "<p>" + answer + "</p>");
    auto [console, monitor] = watchNumber(desk);
    desk.advance(3s);

    const bool found = !answer.startsWith("無");
    EXPECT_EQ(setting("Touchfiles", kNumber), found ? "1" : "0");
    EXPECT_EQ(monitor.isAlerting(), found);
    EXPECT_EQ(requestsTo(desk, "/pda/mail.php").isEmpty(), !found);
  }
}

TEST(RegistrationQuery, AnAnswerPageThatRepeatsTheFormIsNotSentAgainUntilTheNextQuery) {
  SimPortDesktop desk;
  answerQueryWith(desk,
                  "<form method=\"post\" action=\"sp4100.jsp\">"
                  "<input name=\"vesregno\"><input type=\"submit\"></form><p>無符合資料</p>");
  watchNumber(desk);
  desk.advance(10s);
  EXPECT_EQ(requestsTo(desk, "POST /APIMCT/pages/sp4100.jsp").size(), 1);
  desk.advance(300s);
  EXPECT_EQ(requestsTo(desk, "POST /APIMCT/pages/sp4100.jsp").size(), 2);
}

TEST(RegistrationQuery, AnExpiredSessionLogsInAgainAndTheQueryGoesOn) {
  SimPortDesktop desk;
  auto [console, monitor] = watchNumber(desk);
  desk.advance(3s);
  desk.sites().imct().expireSessions();
  desk.sites().imct().setFinding(kNumber, {" YM HARMONY ", 1, 0});

  desk.advance(300s);

  EXPECT_EQ(requestsTo(desk, "POST /APIMCT/pages/LoginCheck.jsp").size(), 2);
  EXPECT_EQ(setting("Touchfiles", kNumber), "1");
}

TEST(RegistrationQuery, ARefusedAccountEndsTheWholeProgramAfterTheBoxWhateverTheAnswer) {
  for (BoxResult answer : {BoxResult::Cancel, BoxResult::TryAgain, BoxResult::Continue}) {
    SCOPED_TRACE(static_cast<int>(answer));
    SimPortDesktop desk;
    desk.sites().imct().setAccount("SOMEONE", "ELSE");
    auto [console, monitor] = watchNumber(desk);
    desk.advance(2s);

    ASSERT_EQ(desk.openBoxes().size(), 1u);
    EXPECT_EQ(desk.openBoxes()[0]->texts.front(), "帳號或密碼錯誤！");
    EXPECT_EQ(desk.openBoxes()[0]->title, "訊息");
    EXPECT_EQ(desk.openBoxes()[0]->style, BoxButtons::CancelTryAgainContinue);
    EXPECT_EQ(requestsTo(desk, "GET /pda/Tidex_error.php").size(), 1);
    EXPECT_FALSE(desk.ended());

    desk.answer(answer);
    EXPECT_TRUE(desk.ended());
    EXPECT_FALSE(desk.tray().shown);
  }
}

TEST(RegistrationQuery, TheImageButtonIsClickedOnlyAtItsOwnPathOnItsOwnHost) {
  struct Case {
    QString src;
    bool clicked;
  };
  const Case cases[] = {
      {"https://imct.test/APIMCT/pages/img/ETP/button_etp_01.gif", true},
      {"img/ETP/button_etp_01.gif", true},  // the browser reports it resolved
      {"https://imct.test/APIMCT/pages/img/ETP/BUTTON_ETP_01.gif", false},
      {"https://other.test/APIMCT/pages/img/ETP/button_etp_01.gif", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.src.toStdString());
    SimPortDesktop desk;
    desk.sites().addPage(
        "/APIMCT/pages/Login_etp.jsp",
        {200, "text/html; charset=big5",
         sites::Big5Page("login", "<a href=\"/clicked\"><img src=\"" + c.src + "\"></a>")});
    watchNumber(desk);
    desk.advance(2s);
    EXPECT_EQ(requestsTo(desk, "GET /clicked").size(), c.clicked ? 1 : 0);
  }
}

// A login page whose only way in is the image button: however the setting spells the IMCT
// server and however the page spells the button's address, the monitor logs in and queries.
TEST(RegistrationQuery, TheImageButtonIsFoundByItsAddressHoweverTheSettingOrThePageSpellIt) {
  struct Case {
    QString setting;
    QString src;
  };
  const QString relative = "img/ETP/button_etp_01.gif";
  const Case cases[] = {
      {"https://IMCT.TEST", relative},
      {"https://imct.test:443", relative},
      {"https://imct.test/", relative},
      {"http://IMCT.test:80/", relative},
      {"https://imct.test", "https://IMCT.Test:443/APIMCT/pages/img/ETP/button_etp_01.gif"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.setting + " " + c.src).toStdString());
    SimPortDesktop desk;
    desk.sites().addPage(
        "/APIMCT/pages/Login_etp.jsp",
        {200, "text/html; charset=big5",
         sites::Big5Page("login",
                         "<a href=\"LoginCheck.jsp?UserName=TIDEX&amp;Passwd=PASS\">"
                         "<img src=\"" +
                             c.src + "\"></a>")});
    auto [console, monitor] = watchNumber(desk, kNumber, c.setting);
    desk.advance(3s);
    EXPECT_EQ(requestsTo(desk, "/APIMCT/pages/LoginCheck.jsp").size(), 1);
    EXPECT_EQ(setting("Touchfiles", kNumber), "0") << "the query was answered";
  }
}

TEST(FoundNotification, WithoutAVesselNameOrWithTheBoardMarkersReversedTheFormStillGoesOnce) {
  SimPortDesktop desk;
  answerQueryWith(desk, "<p>實櫃數 3</p>");
  desk.sites().addPage(
      kBoardPath.toLatin1(),
      {200, "text/html; charset=big5", sites::Big5Page("board", "<p>進港 YM HARMONY 艏推</p>")});
  watchNumber(desk);
  desk.advance(5s);

  // The thanks page ends the notification: no further lookup.
  EXPECT_EQ(requestsTo(desk, kBoardPath),
            QStringList{"GET " + kBoardPath + "?QSP_ID=&QSP_ENAME=&QSP_PORT=" + kBoardTail});
  const auto& mails = desk.sites().mail().submissions();
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(sites::FieldValue(mails[0], "name"), "01VXXX ");
  EXPECT_EQ(sites::FieldValue(mails[0], "namea"), "");
}

TEST(RegistrationQuery, TheAccountIsNeverFilledIntoAPageOfAnotherHost) {
  SimPortDesktop desk;
  desk.sites().addPage("/login-elsewhere",
                       {200, "text/html; charset=big5",
                        sites::Big5Page("login",
                                        "<form action=\"/collect\">"
                                        "<input name=\"UserName\"><input name=\"Passwd\">"
                                        "<input name=\"vesregno\">"
                                        "<input type=\"submit\"></form>")});
  auto [console, monitor] = watchNumber(desk);
  desk.advance(3s);

  monitor.pageBrowser.Navigate2("http://other.test/login-elsewhere");
  desk.advance(2s);

  EXPECT_EQ(requestsTo(desk, "/collect"),
            QStringList{"GET /collect?UserName=&Passwd=&vesregno=01VXXX"});
}

TEST(RegistrationMonitorLifetime, ClosingWhileAPageWaitsABoxIsOpenOrTheAlertRunsLeavesNothing) {
  {  // a box open
    SimPortDesktop desk;
    desk.sites().imct().setAccount("SOMEONE", "ELSE");
    auto [console, monitor] = watchNumber(desk);
    desk.advance(2s);
    WriteSetting("Touchfiles", kNumber, "2");
    desk.closeBox(monitor);
    EXPECT_TRUE(monitor.isUnloaded());
    EXPECT_TRUE(desk.openBoxes().empty());
    EXPECT_FALSE(desk.ended());
  }
  {  // a page wait and the alert loop
    SimPortDesktop desk;
    desk.sites().imct().setFinding(kNumber, {" YM HARMONY ", 1, 0});
    desk.sites().board().setNeverCompletes(true);
    auto [console, monitor] = watchNumber(desk);
    desk.advance(7s);
    ASSERT_TRUE(monitor.isAlerting());
    desk.closeBox(monitor);
    EXPECT_TRUE(monitor.isUnloaded());
    desk.sites().board().recover();
    const auto beeps = desk.beeps().size();
    desk.advance(10s);
    EXPECT_EQ(desk.beeps().size(), beeps);
  }
}

// The settings file is read-only when the counts appear: the monitor alerts all the same, and
// the finding, with the time it was found, is written as soon as the file can be written.
TEST(RegistrationQuery, AFindingThatCannotBeWrittenIsKeptAndWrittenLater) {
  SimPortDesktop desk;
  desk.sites().imct().setFinding(kNumber, {" YM HARMONY ", 1, 0});
  auto [console, monitor] = watchNumber(desk);
  QFile ini(settingsFilePath());
  const auto mode = ini.permissions();
  ASSERT_TRUE(ini.setPermissions(QFileDevice::ReadOwner));

  desk.advance(7s);
  EXPECT_TRUE(monitor.isAlerting());
  EXPECT_FALSE(desk.beeps().empty());
  EXPECT_EQ(setting("Touchfiles", kNumber), "No Settings");

  desk.advance(60s);
  ASSERT_TRUE(ini.setPermissions(mode));
  desk.advance(1s);
  EXPECT_EQ(setting("Touchfiles", kNumber), "1");
  EXPECT_EQ(setting("TouchfilesTime", kNumber), "2026/12/08 10:00:00");  // when it was found
}
