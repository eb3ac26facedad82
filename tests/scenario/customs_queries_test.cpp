#include <gtest/gtest.h>

#include <functional>

#include "test_printers.h"

#include "console/console_window.h"
#include "scenario/scenario_helpers.h"
#include "sim_port_desktop.h"
#include "sites/big5_page.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace std::chrono_literals;
using sites::CustomsQuery;
using sites::CustomsTrouble;

namespace {

const QString kCustoms = "http://customs.test:8081";
const QByteArray kPermitPath = "/DGOC/sea/sea/ISL000I3.jsp";
const QByteArray kFeePath = "/DGOC/sea/sea/IS1T01W.jsp";
const QString kBusy = "系統忙錄中，請稍後再試。 ";

// The console with a registration number and a location typed into its fields, the customs
// database at the address of the settings file.
ConsoleWindow& startWith(SimDesktop& desk, const QString& number, const QString& location) {
  scenario::useServer("customs", kCustoms);
  ConsoleWindow& console = scenario::startConsole(desk);
  desk.type(console.registrationField, number);
  desk.type(console.locationField, location);
  return console;
}

// A page of the database's server that no query of it gives, in Big5.
void putPage(sites::PortSites& sites, const QByteArray& path, const QString& body) {
  sites.addPage(path, {200, "text/html; charset=big5", sites::Big5Page("DGOC", body)});
}

QStringList addressesOf(SimDesktop& desk, const QString& browser) {
  QStringList out;
  for (const SimNavigation& n : desk.navigations()) {
    if (n.browser == browser) out << n.request.url;
  }
  return out;
}

}  // namespace

TEST(CustomsQueries, EveryAnswerRuleInOrderGivesItsMessageOnceWithTheCountdown) {
  struct Case {
    const char* story;
    std::function<void(sites::PortSites&)> database;
    QString location;  // locationField
    bool fees;         // the port-fee button, else the permit button
    QString message;   // none: no box
    QString shows;     // what the page that came says (for none, the browser's own page)
  };
  const Case cases[] = {
      {"no laden containers yet", [](auto&) {}, "KHH1080", false,
       "卸貨淮單：01VXXX 尚未收到重櫃資料。 ", "實櫃總數：<0>"},
      {"none laden although the location is listed",
       [](auto& s) {
         s.customs().setPermits("01VXXX", {{"KHH1080", 0}});
       },
       "KHH1080", false, "卸貨淮單：01VXXX 尚未收到重櫃資料。 ", "實櫃總數：<0>"},
      {"laden at the user's location",
       [](auto& s) {
         s.customs().setPermits("01VXXX", {{"KHH2010", 4}, {"KHH1080", 12}});
       },
       "KHH1080", false, "卸貨淮單：01VXXX 含 KHH1080 重櫃。 ", "實櫃總數：<16>"},
      {"laden elsewhere",
       [](auto& s) {
         s.customs().setPermits("01VXXX", {{"KHH2010", 4}});
       },
       "KHH1080", false, "卸貨淮單：01VXXX 有卸重櫃。 ", "實櫃總數：<4>"},
      {"laden and no location typed",
       [](auto& s) {
         s.customs().setPermits("01VXXX", {{"KHH2010", 4}});
       },
       "", false, "卸貨淮單：01VXXX 含  重櫃。 ", "實櫃總數：<4>"},
      {"permits busy",
       [](auto& s) {
         s.customs().setTrouble("01VXXX", CustomsQuery::Permits, CustomsTrouble::Busy);
       },
       "KHH1080", false, kBusy, "系統忙碌中，請稍後再試。"},
      {"fees registered", [](auto& s) { s.customs().setFeesRegistered("01VXXX", true); }, "KHH1080",
       true, "01VXXX 規費 已 登錄。 ", "查詢訊息：查詢成功"},
      {"fees not registered", [](auto&) {}, "KHH1080", true, "01VXXX 規費 未 登錄。 ",
       "實卸貨櫃數含短卸：0"},
      {"fees processing error",
       [](auto& s) {
         s.customs().setTrouble("01VXXX", CustomsQuery::Fees, CustomsTrouble::ProcessingError);
       },
       "KHH1080", true, kBusy, "程式邏輯處理不正確"},
      {"busy before registered",
       [](auto& s) {
         putPage(s, kFeePath, "<p>查詢訊息：查詢成功</p><p>系統忙碌，請稍後再試</p>");
       },
       "KHH1080", true, kBusy, "系統忙碌，請稍後再試"},
      {"not registered before a processing error",
       [](auto& s) { putPage(s, kFeePath, "<p>邏輯處理不正確</p><p>實卸貨櫃數含短卸：0</p>"); },
       "KHH1080", true, "01VXXX 規費 未 登錄。 ", "實卸貨櫃數含短卸：0"},
      {"a permit total before the fee phrases",
       [](auto& s) { putPage(s, kPermitPath, "<p>查詢訊息：查詢成功 實櫃總數：&lt;7&gt;</p>"); },
       "KHH1080", false, "卸貨淮單：01VXXX 有卸重櫃。 ", "查詢訊息：查詢成功 實櫃總數：<7>"},
      {"a page without any phrase",
       [](auto& s) { putPage(s, kPermitPath, "<p>實櫃總數 &lt;0&gt; 查詢成功</p>"); }, "KHH1080",
       false, "", "實櫃總數 <0> 查詢成功"},
      {"an unreachable server",
       [](auto& s) { s.addPage(kFeePath, sites::SiteResponse::refused()); }, "KHH1080", true, "",
       "無法連線到伺服器"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.story);
    SimPortDesktop desk;
    c.database(desk.sites());
    ConsoleWindow& console = startWith(desk, "01VXXX", c.location);
    desk.click(c.fees ? console.feeRegistrationButton : console.customsPermitButton);
    desk.advance(1s);

    // The answer is drawn from the text of the page that came, which the console keeps.
    EXPECT_TRUE(console.customsPageText().contains(c.shows))
        << console.customsPageText().toStdString();
    if (c.message.isEmpty()) {
      EXPECT_TRUE(desk.boxes().empty());
      continue;
    }
    ASSERT_EQ(desk.boxes().size(), 1u);
    const SimBox& box = desk.boxes().front();
    EXPECT_EQ(box.title, "訊息");
    EXPECT_EQ(box.style, BoxButtons::Ok);
    EXPECT_EQ(box.texts.front(), c.message + "9 秒");
    desk.advance(9s);
    EXPECT_EQ(desk.boxes().size(), 1u) << "one message per completed page";
  }
}

TEST(CustomsQueries, TheAnswerCountsDownFromNineAndClosesItselfWhileTheConsoleRunsOn) {
  SimPortDesktop desk;
  desk.sites().customs().setPermits("01VXXX", {{"KHH1080", 12}});
  ConsoleWindow& console = startWith(desk, "01VXXX", "KHH1080");
  desk.click(console.customsPermitButton);
  desk.advance(500ms);  // the page has come
  ASSERT_EQ(desk.openBoxes().size(), 1u);
  EXPECT_TRUE(console.customsPageText().contains("實櫃總數：<12>"))
      << console.customsPageText().toStdString();
  EXPECT_TRUE(console.customsPermitButton.Enabled());
  EXPECT_TRUE(console.feeRegistrationButton.Enabled());

  desk.advance(8s);
  EXPECT_EQ(desk.openBoxes().size(), 1u);
  EXPECT_TRUE(console.halfHourTimer.Enabled()) << "the console's timers go on meanwhile";
  desk.advance(1s);
  EXPECT_TRUE(desk.openBoxes().empty()) << "closed itself nine seconds after it opened";
  QStringList countdown;
  for (int s = 9; s >= 1; --s)
    countdown << QString("卸貨淮單：01VXXX 含 KHH1080 重櫃。 %1 秒").arg(s);
  EXPECT_EQ(desk.boxes().front().texts, countdown);
  EXPECT_EQ(desk.boxes().front().result, BoxResult::Ok);
}

TEST(CustomsQueries, EachButtonAsksTheConfiguredDatabaseForTheNumberAsItStands) {
  SimPortDesktop desk;
  desk.sites().customs().setFeesRegistered("01VXXX", true);
  ConsoleWindow& console = startWith(desk, "01vxxx", "KHH1080");
  const QStringList batchList = addressesOf(desk, "Form1.WebBrowser2");
  desk.click(console.customsPermitButton);
  desk.advance(10s);
  desk.click(console.feeRegistrationButton);
  desk.advance(10s);
  EXPECT_EQ(
      addressesOf(desk, "Form1.WebBrowser3"),
      (QStringList{kCustoms + "/DGOC/sea/sea/ISL000I3.jsp?vsl_reg_no=01vxxx&ship_co_cd=&ware_cd=&"
                              "mft_no=&start_data_index=1",
                   kCustoms + "/DGOC/sea/sea/IS1T01W.jsp?vsl_reg_no=01vxxx"}));
  EXPECT_EQ(desk.boxes().back().texts.front(), "01vxxx 規費 已 登錄。 9 秒")
      << "the number as typed, found in any case";
  EXPECT_EQ(console.registrationField.Text(), "01vxxx")
      << "the queries do not upper-case the field";
  EXPECT_EQ(addressesOf(desk, "Form1.WebBrowser2"), batchList) << "the batch list's browser";

  // Characters that would cut the number short or change it go out escaped: the database is
  // asked for exactly the number that the message names.
  desk.sites().customs().setFeesRegistered("01V&X#Y%+Z", true);
  desk.type(console.registrationField, "01V&X#Y%+Z");
  desk.click(console.feeRegistrationButton);
  desk.advance(10s);
  EXPECT_EQ(addressesOf(desk, "Form1.WebBrowser3").back(),
            kCustoms + "/DGOC/sea/sea/IS1T01W.jsp?vsl_reg_no=01V%26X%23Y%25%2BZ");
  EXPECT_EQ(desk.boxes().back().texts.front(), "01V&X#Y%+Z 規費 已 登錄。 9 秒");
}

TEST(CustomsQueries, ASecondClickWhileAPageLoadsAnswersOnlyTheCompletedPage) {
  SimPortDesktop desk;
  desk.sites().customs().setFeesRegistered("01VXXX", true);
  ConsoleWindow& console = startWith(desk, "01VXXX", "KHH1080");
  desk.setNetworkDelay(3s);
  desk.click(console.customsPermitButton);
  desk.advance(1s);
  EXPECT_TRUE(console.customsBrowser.Busy());
  EXPECT_TRUE(console.feeRegistrationButton.Enabled());
  desk.click(console.feeRegistrationButton);
  desk.advance(5s);

  ASSERT_EQ(desk.boxes().size(), 1u);
  EXPECT_EQ(desk.boxes().front().texts.front(), "01VXXX 規費 已 登錄。 9 秒");
  EXPECT_FALSE(console.customsPageText().contains("實櫃總數")) << "the permit page never came";
  desk.advance(10s);
  EXPECT_EQ(desk.boxes().size(), 1u);
}

TEST(CustomsQueries, AnUnreadablePageAnswersNothingRatherThanRepeatTheLastAnswer) {
  SimPortDesktop desk;
  desk.sites().customs().setFeesRegistered("01VXXX", true);
  ConsoleWindow& console = startWith(desk, "01VXXX", "KHH1080");
  desk.click(console.feeRegistrationButton);
  desk.advance(10s);
  ASSERT_EQ(desk.boxes().size(), 1u);
  const QString lastPage = console.customsPageText();

  // The next number's page completes without a readable document: its renderer went away
  // while it loaded.
  desk.type(console.registrationField, "02VYYY");
  desk.click(console.feeRegistrationButton);
  desk.killRenderers();
  desk.advance(10s);
  EXPECT_EQ(desk.boxes().size(), 1u) << "02VYYY is not registered as far as anyone knows";
  EXPECT_EQ(console.customsPageText(), lastPage);
}
