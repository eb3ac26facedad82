#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QUrl>

#include "board_path.h"
#include "platform/ansi_text.h"
#include "platform/sim/sim_form_submission.h"
#include "platform/sim/sim_html_parser.h"
#include "platform/sim/sim_inner_text.h"
#include "platform/sim/sim_web.h"
#include "platform/sim/virtual_clock.h"
#include "sites/port_sites.h"
#include "test_printers.h"

namespace tidex::sites {
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
namespace {

const QString kImct = u"http://imct.test/APIMCT/pages/"_s;
const QString kTitle = u"貨櫃物動態查核系統"_s;
const QString kRefused = u"USERID or PASSWORD is Error"_s;
const QString kIllegal = u"非法登入"_s;

// The text between the first a and the first b, by the rule the notification mail uses:
// from two characters after a, b - a - 2 characters long; empty when that is negative.
QString between(const QString& text, const QString& a, const QString& b) {
  const qsizetype start = text.indexOf(a) + 1 + 2;
  const qsizetype length = (text.indexOf(b) + 1) - (text.indexOf(a) + 1) - 2;
  if (length <= 0 || start > text.size()) return {};
  return text.mid(start - 1, length);
}

// A browser on the port sites that sends back the cookie they set last, fills fields by name
// and submits the way the simulated back end does.
class Browser {
 public:
  explicit Browser(PortSites& sites) : sites_(sites) {}

  void open(const QString& url) { load({url, "GET", {}, {}}); }
  void fill(const QString& name, const QString& value) {
    ASSERT_GE(element(u"INPUT"_s, name), 0) << name.toStdString();
    dom_.setValue(element(u"INPUT"_s, name), value);
  }
  void submit() {
    const auto request = ClickRequest(dom_, element(u"INPUT"_s, {}, u"submit"_s), url_, charset_);
    ASSERT_TRUE(request.has_value()) << "no submit input";
    load(*request);
  }
  // The first element with this tag, and this name and type where given; -1 if none.
  int element(const QString& tag, const QString& name = {}, const QString& type = {}) const {
    for (int e = 0; e < dom_.elementCount(); ++e) {
      const ElementData data = dom_.elementData(e);
      if (data.tagName == tag && (name.isEmpty() || data.name == name) &&
          (type.isEmpty() || data.type == type)) {
        return e;
      }
    }
    return -1;
  }
  const SimDom& dom() const { return dom_; }
  const QString& url() const { return url_; }
  QString text() const { return InnerText(dom_); }
  const SiteResponse& response() const { return response_; }

  QByteArray cookie;  // "name=value"

 private:
  void load(const SimRequest& request) {
    const QUrl url(request.url);
    response_ = sites_.handle({request.method, url.path().toLatin1(),
                               url.query(QUrl::FullyEncoded).toLatin1(), request.body, cookie});
    for (const auto& [header, value] : response_.headers) {
      if (header == "Set-Cookie") cookie = value.split(';').front();
    }
    url_ = request.url;
    const DecodedPage page = DecodePage(response_.contentType, response_.body);
    charset_ = page.charset;
    dom_ = ParseHtml(page.html);
  }

  PortSites& sites_;
  SiteResponse response_;
  QString url_;
  PageCharset charset_ = PageCharset::Utf8;
  SimDom dom_;
};

SimRequest get(const QString& url) {
  SimRequest request;
  request.url = url;
  return request;
}

void logIn(Browser& browser, const QString& user, const QString& password) {
  browser.open(kImct + u"Login_etp.jsp"_s);
  browser.fill(u"UserName"_s, user);
  browser.fill(u"Passwd"_s, password);
  browser.submit();
}

void query(Browser& browser, const QString& registration) {
  browser.open(kImct + u"sp4100.jsp"_s);
  browser.fill(u"vesregno"_s, registration);
  browser.submit();
}

TEST(ImctService, ALoggedInQueryAnswersEachRegistrationAsSet) {
  PortSites sites;
  sites.imct().setFinding(u"01VXXX"_s, {u"YM HARMONY"_s, 12, 0});
  sites.imct().setFinding(u"02EMPT"_s, {u"WAN HAI 316"_s, 0, 4});
  sites.imct().setFinding(u"03GONE"_s, {u"X"_s, 1, 1});
  sites.imct().setNoData(u"03gone"_s);
  Browser browser(sites);
  browser.open(kImct + u"Login_etp.jsp"_s);
  const int submit = browser.element(u"INPUT"_s, {}, u"submit"_s);
  const int image = browser.element(u"IMG"_s);
  ASSERT_GE(submit, 0);
  ASSERT_GT(image, submit) << "the submit input comes first";
  EXPECT_EQ(ResolveUrl(browser.url(), browser.dom().elementData(image).src, PageCharset::Big5),
            kImct + u"img/ETP/button_etp_01.gif"_s);
  EXPECT_FALSE(ClickRequest(browser.dom(), image, browser.url(), PageCharset::Big5))
      << "without script the image's link loads nothing, so it cannot cut off the login";
  EXPECT_TRUE(sites.handle({"GET", "/APIMCT/pages/img/ETP/button_etp_01.gif", {}, {}})
                  .body.startsWith("GIF89a"));
  logIn(browser, u"TIDEX"_s, u"PASS"_s);
  EXPECT_TRUE(browser.text().contains(kTitle)) << browser.text().toStdString();
  EXPECT_EQ(browser.element(u"INPUT"_s), -1) << "nothing on the menu for a form filler to submit";
  ASSERT_EQ(browser.response().headers.size(), 1u);
  EXPECT_TRUE(browser.response().headers.front().second.contains("; Path=/APIMCT"));
  EXPECT_TRUE(browser.cookie.startsWith("JSESSIONID="));
  EXPECT_EQ(sites.imct().sessionCount(), 1);

  browser.open(kImct + u"sp4100.jsp"_s);
  EXPECT_GE(browser.element(u"INPUT"_s, u"vesregno"_s), 0);
  EXPECT_GE(browser.element(u"INPUT"_s, {}, u"submit"_s), 0);
  EXPECT_FALSE(browser.text().contains(kTitle)) << "a client that opens the query on it loops";

  struct Case {
    QString typed;
    QString vessel;  // between 船名 and 船隻; empty for no data
    QString counts;
  };
  const Case cases[] = {
      {u"01VXXX"_s, u" YM HARMONY "_s, u"12\t0"_s},
      {u" 01vxxx "_s, u" YM HARMONY "_s, u"12\t0"_s},
      {u"02EMPT"_s, u" WAN HAI 316 "_s, u"0\t4"_s},
      {u"03GONE"_s, {}, {}},
      {u"09NONE"_s, {}, {}},
      {QString(), {}, {}},
  };
  for (const Case& c : cases) {
    query(browser, c.typed);
    const QString text = browser.text();
    const bool found = !c.vessel.isEmpty();
    EXPECT_EQ(text.contains(u"實櫃數"_s) && text.contains(u"空櫃數"_s), found)
        << text.toStdString();
    EXPECT_EQ(text.contains(u"無符合資料"_s), !found) << text.toStdString();
    EXPECT_EQ(between(text, u"船名"_s, u"船隻"_s), c.vessel) << text.toStdString();
    if (found) {
      EXPECT_TRUE(text.contains(u"實櫃數\t空櫃數\r\n"_s + c.counts)) << text.toStdString();
    }
    EXPECT_FALSE(text.contains(kTitle) || text.contains(kIllegal)) << text.toStdString();
    EXPECT_EQ(browser.element(u"INPUT"_s), -1) << "an answer offers no form to submit again";
  }

  sites.imct().setTitleOnQueryPages(true);
  for (const QString& number : {u"01VXXX"_s, u"09NONE"_s}) {
    query(browser, number);
    EXPECT_TRUE(browser.text().contains(kTitle)) << number.toStdString();
  }
  sites.imct().reset();
  EXPECT_EQ(sites.imct().sessionCount(), 0);
  logIn(browser, u"TIDEX"_s, u"PASS"_s);
  query(browser, u"01VXXX"_s);
  EXPECT_FALSE(browser.text().contains(kTitle));
  EXPECT_TRUE(browser.text().contains(u"無符合資料"_s)) << "reset drops the findings";
}

// The demo's finding: however long after it was set the number is first asked for, the first
// answer is no data and the answers from the delay on are the finding.
TEST(ImctService, AFindingAfterADelayCountsFromTheFirstQueryForTheNumber) {
  PortSites sites;
  auto now = std::chrono::steady_clock::time_point{};
  sites.imct().now = [&] { return now; };
  sites.imct().setFindingAfterFirstQuery(u"01VXXX"_s, {u"YM HARMONY"_s, 12, 3}, 240s);
  Browser browser(sites);
  logIn(browser, u"TIDEX"_s, u"PASS"_s);
  const auto answers = [&](const QString& number) {
    query(browser, number);
    return browser.text().contains(u"實櫃數"_s);
  };

  now += 1h;  // set long before anyone asks
  EXPECT_FALSE(answers(u"01VXXX"_s));
  now += 239s;
  EXPECT_FALSE(answers(u" 01vxxx "_s));
  EXPECT_FALSE(answers(u"01VYYY"_s));
  now += 1s;
  EXPECT_TRUE(answers(u"01VXXX"_s));
  now += 1h;
  EXPECT_TRUE(answers(u"01VXXX"_s)) << "found stays found";
}

TEST(ImctService, RefusedAccountsAndLostSessions) {
  PortSites sites;
  sites.imct().setFinding(u"01VXXX"_s, {u"YM HARMONY"_s, 3, 2});
  Browser browser(sites);
  for (const auto& [user, password] : {std::pair(u"TIDEX"_s, u"pass"_s),
                                       std::pair(u"tidex"_s, u"PASS"_s), std::pair(u""_s, u""_s)}) {
    logIn(browser, user, password);
    EXPECT_TRUE(browser.text().contains(kRefused)) << user.toStdString();
    EXPECT_FALSE(browser.text().contains(kTitle));
    EXPECT_EQ(browser.element(u"INPUT"_s), -1) << "no form to resubmit the refused account";
    EXPECT_TRUE(browser.response().headers.empty());
  }
  browser.open(kImct + u"sp4100.jsp"_s);
  EXPECT_TRUE(browser.text().contains(kIllegal)) << "no session yet";
  EXPECT_LT(browser.element(u"INPUT"_s, u"vesregno"_s), 0);
  EXPECT_TRUE(sites.handle({"POST", "/APIMCT/pages/sp4100.jsp", {}, "vesregno=01VXXX"})
                  .body.contains(toAnsi(kIllegal)))
      << "nor an answer";

  sites.imct().setAccount(u"AGENT7"_s, u"s3cret"_s);
  logIn(browser, u"TIDEX"_s, u"PASS"_s);
  EXPECT_TRUE(browser.text().contains(kRefused)) << "the old account is gone";
  logIn(browser, u"AGENT7"_s, u"s3cret"_s);
  ASSERT_TRUE(browser.text().contains(kTitle));
  query(browser, u"01VXXX"_s);
  EXPECT_TRUE(browser.text().contains(u"實櫃數"_s));

  // Expired between the query page and its answer, then before the query page.
  browser.open(kImct + u"sp4100.jsp"_s);
  browser.fill(u"vesregno"_s, u"01VXXX"_s);
  sites.imct().expireSessions();
  browser.submit();
  EXPECT_TRUE(browser.text().contains(kIllegal));
  EXPECT_FALSE(browser.text().contains(u"實櫃數"_s));
  browser.open(kImct + u"sp4100.jsp"_s);
  EXPECT_TRUE(browser.text().contains(kIllegal));

  logIn(browser, u"AGENT7"_s, u"s3cret"_s);
  query(browser, u"01VXXX"_s);
  EXPECT_TRUE(browser.text().contains(u"實櫃數"_s)) << "a new login opens a new session";
  browser.cookie = "JSESSIONID=0123456789ABCDEF0123456789ABCDEF";
  browser.open(kImct + u"sp4100.jsp"_s);
  EXPECT_TRUE(browser.text().contains(kIllegal)) << "a made-up session";
}

TEST(MailService, RecordsEverySubmissionDecodedFromBig5) {
  PortSites sites;
  Browser browser(sites);
  const QString name = u"01VXXX  YM HARMONY "_s;
  const QString computer = u"碼頭-PC1"_s;
  const QString extract = u"\t抵港日期\t抵港時間\r\nYM HARMONY\t1108\t有\t北1\t預定"_s;
  for (bool formAgain : {false, true}) {
    sites.mail().setAnswerOffersForm(formAgain);
    browser.open(u"http://maker.test/pda/mail.php"_s);
    const int form = browser.dom().closest(
        browser.dom().elementNode(browser.element(u"INPUT"_s, u"name"_s)), u"FORM");
    ASSERT_GE(form, 0);
    EXPECT_EQ(browser.dom().attribute(form, u"method").toLower(), u"post");
    EXPECT_GE(browser.element(u"INPUT"_s, u"submit"_s, u"submit"_s), 0);
    browser.fill(u"name"_s, name);
    browser.fill(u"mail"_s, computer);
    browser.fill(u"namea"_s, extract);
    browser.submit();
    EXPECT_EQ(browser.response().status, 200);
    EXPECT_TRUE(browser.text().contains(name.simplified())) << browser.text().toStdString();
    EXPECT_EQ(browser.element(u"INPUT"_s, u"namea"_s) >= 0, formAgain);
    EXPECT_EQ(browser.element(u"INPUT"_s, u"submit"_s) >= 0, formAgain);
  }
  browser.open(u"http://maker.test/pda/mail.php?name=x"_s);
  ASSERT_EQ(sites.mail().submissions().size(), 2u) << "only a POST is a submission";

  const QJsonArray json = QJsonDocument::fromJson(sites.mail().submissionsJson()).array();
  ASSERT_EQ(json.size(), 2);
  for (const auto& submission : json) {
    const QJsonObject fields = submission.toObject();
    EXPECT_EQ(fields.value(u"name"_s).toString(), name);
    EXPECT_EQ(fields.value(u"mail"_s).toString(), computer);
    EXPECT_EQ(fields.value(u"namea"_s).toString(), extract) << "blanks and breaks kept";
    EXPECT_EQ(fields.value(u"submit"_s).toString(), u"送出");
  }
  sites.mail().reset();
  EXPECT_TRUE(sites.mail().submissions().empty());
  EXPECT_EQ(sites.mail().submissionsJson(), "[]\n");
}

TEST(PortSites, TheMailsBoardLookupAndTheMakersPlainPages) {
  VirtualClock clock(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
  PortSites sites;
  SimWeb web(clock, &sites);
  // The vessel name goes into the address as the IMCT answer had it, blanks included.
  const QString head = u"http://10.0.0.5"_s + kBoardPath + u"?QSP_ID=&QSP_ENAME="_s;
  const QString tail = u"&QSP_PORT=&QSP_PAGID=&SP_CALL=&SEARCH=1&iPage=&OK=%B7j%B4M"_s;
  for (const QString& vessel : {u" YM HARMONY "_s, u"%20YM%20HARMONY%20"_s}) {
    const SiteResponse page = web.fetch(get(head + vessel + tail));
    const QString text = InnerText(ParseHtml(DecodePage(page.contentType, page.body).html));
    const QString extract = between(text, u"艏推"_s, u"進港"_s);
    EXPECT_TRUE(extract.contains(u"YM HARMONY\t1108\t有\t2026/12/08\t14:30"_s))
        << vessel.toStdString() << ": " << text.toStdString();
    EXPECT_FALSE(text.contains(u"WAN HAI"_s));
  }

  // After the login the window shows one of these; a marker on them would send it on again.
  QSet<QString> titles;
  for (const char* page : {"imct", "imctba", "imctbe", "Tidex_error"}) {
    const SiteResponse answer = web.fetch(get(u"http://maker.test/pda/%1.php"_s.arg(page)));
    EXPECT_EQ(answer.status, 200) << page;
    const QString html = DecodePage(answer.contentType, answer.body).html;
    titles << html.section(u"<title>"_s, 1).section(u"</title>"_s, 0, 0);
    for (const QString& marker : {kTitle, kRefused, kIllegal}) {
      EXPECT_FALSE(InnerText(ParseHtml(html)).contains(marker)) << page;
    }
  }
  EXPECT_EQ(titles.size(), 4);
  EXPECT_EQ(sites.requestLog().back(), u"GET /pda/Tidex_error.php");
}

}  // namespace
}  // namespace tidex::sites
