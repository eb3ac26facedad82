#include <gtest/gtest.h>

#include "test_printers.h"

#include "common/page/element_scan.h"
#include "common/page/page_wait.h"
#include "platform/sim/sim_form_submission.h"
#include "platform/sim/sim_inner_text.h"
#include "platform/task.h"
#include "platform/timer.h"
#include "platform/web_browser.h"
#include "sim_port_desktop.h"
#include "sites/big5_page.h"

using namespace tidex;
using namespace std::chrono_literals;
using sites::SiteResponse;

namespace {

const QString kHost = QStringLiteral("http://127.0.0.1:8080");

SiteResponse utf8Page(const QString& html, int status = 200) {
  return {status, "text/html; charset=utf-8", html.toUtf8()};
}

// A window with a browser whose handlers wait for pages while a 1-second timer ticks.
class Browsing final : public Form {
 public:
  Browsing() : Form("Browsing") {
    tickTimer.onTimer = [this] { ++ticks; };
    pageBrowser.onDocumentComplete = [this](HtmlDocument&, const QString& url, bool) {
      completed.push_back(url);
    };
  }

  WebBrowser pageBrowser{*this, "WebBrowser1"};
  Timer tickTimer{*this, "tickTimer", 1s, true};
  int ticks = 0;
  QStringList completed;  // DocumentComplete addresses
  int resumed = 0;        // page waits that returned
  bool busyAfterClick = false;
  int ticksAtClick = 0;

  Task Open(QString url) {
    pageBrowser.Navigate2(url);
    co_await PageWait(pageBrowser);
    ++resumed;
  }

  // Opens the search page, fills in the port and presses the search button.
  Task Search(QString url, QString port) {
    pageBrowser.Navigate2(url);
    co_await PageWait(pageBrowser);
    HtmlElement submit;
    ScanInputs(*pageBrowser.Document(), [&](HtmlElement& e) {
      if (e.Name() == "QSP_PORT") e.setValue(port);
      if (e.Type() == "submit") submit = e;
    });
    submit.Click();
    busyAfterClick = pageBrowser.Busy();
    ticksAtClick = ticks;
    co_await PageWait(pageBrowser);
    ++resumed;
  }
};

int elementWithId(const SimDom& dom, const QString& id) {
  for (int e = 0; e < dom.elementCount(); ++e) {
    if (dom.attribute(dom.elementNode(e), u"id") == id) return e;
  }
  return -1;
}

}  // namespace

TEST(SimBrowser, ElementsComeInDocumentOrderWithBrowserTypesAndValues) {
  SimPortDesktop desk;
  desk.sites().addPage("/form.php", utf8Page(R"(<form><input name=a><input type=HIDDEN name=b
      value=2><select name=s><option value=1>x<option value=2 selected>y</select>
      <textarea name=t>
hi</textarea><input type=Submit name=go value=Go><img src="pic/a.gif"></form>)"));
  auto& w = desk.start<Browsing>();
  w.Open(kHost + "/form.php");
  desk.advance(1s);

  auto doc = w.pageBrowser.Document();
  ASSERT_TRUE(doc);
  QStringList inputs;
  ScanInputs(*doc, [&](HtmlElement& e) { inputs << e.Name() + ":" + e.Type() + ":" + e.Value(); });
  EXPECT_EQ(inputs, QStringList({"a:text:", "b:hidden:2", "go:submit:Go"}));
  QStringList tags;
  for (int i = 0; i < doc->All().length(); ++i) tags << doc->All().item(i).tagName();
  EXPECT_EQ(tags.mid(0, 5), QStringList({"HTML", "HEAD", "BODY", "FORM", "INPUT"}));
  const auto select = doc->All().item(tags.indexOf("SELECT"));
  EXPECT_EQ(select.Type() + ":" + select.Value(), "select-one:2");
  EXPECT_EQ(doc->All().item(tags.indexOf("TEXTAREA")).Value(), "hi");
  EXPECT_EQ(doc->Images().length(), 1);
  EXPECT_EQ(doc->Images().item(0).src(), "http://127.0.0.1:8080/pic/a.gif");  // resolved
}

TEST(SimBrowser, SubmitInABig5PageSendsBig5QueryAndStaysBusyUntilTheAnswerCompletes) {
  SimPortDesktop desk;
  desk.setNetworkDelay(3s);
  desk.sites().addPage("/qsp.php", {200, "text/html", sites::Big5Page("船期", R"(
      <form action="qsp_result.php">港口 <input name=QSP_PORT>
      <input type=checkbox name=ALL value=1><input type=submit name=OK value="搜尋"></form>)")});
  auto& w = desk.start<Browsing>();
  w.Search(kHost + "/qsp.php", "1108");
  desk.advance(3s);  // the search page completes; the handler clicks

  EXPECT_TRUE(w.busyAfterClick);
  EXPECT_EQ(w.ticksAtClick, 3);
  desk.advance(2900ms);
  EXPECT_TRUE(w.pageBrowser.Busy());
  EXPECT_EQ(w.resumed, 0);
  desk.advance(100ms);

  EXPECT_EQ(w.resumed, 1);
  EXPECT_FALSE(w.pageBrowser.Busy());
  EXPECT_EQ(w.ticks - w.ticksAtClick, 3);
  EXPECT_EQ(desk.sites().requestLog().back(), "GET /qsp_result.php?QSP_PORT=1108&OK=%B7j%B4M");
  EXPECT_EQ(w.pageBrowser.LocationURL(), kHost + "/qsp_result.php?QSP_PORT=1108&OK=%B7j%B4M");
  EXPECT_EQ(w.completed.size(), 2);
}

TEST(SimBrowser, ClicksSubmitFormsAndFollowLinksAsABrowserDoes) {
  struct Case {
    const char* html;
    const char* click;  // id of the clicked element
    PageCharset charset;
    QString url;  // empty: the click starts nothing
    QByteArray method = "GET";
    QByteArray body = {};
  };
  const QString page = "http://h/dir/p.php?x=1#f";
  const Case cases[] = {
      {R"(<form action="/save.php?old=1" method=POST><input name=t value="a b&c/d~*-_.">
          <input type=password name=p value=x><input type=checkbox name=c1 value=1 checked>
          <input type=checkbox name=c2 value=2><input type=radio name=r value=a>
          <input type=radio name=r value=b checked><input name=d value=no disabled>
          <fieldset disabled><input name=fd value=no></fieldset><input name="" value=no>
          <select name=s><option>甲<option value=B selected>乙</select>
          <select name=m multiple><option selected>1<option>2<option selected>3</select>
          <textarea name=ta>l1
l2</textarea><input type=submit id=go name=go value=Go><input type=submit name=no value=No>
          <input type=reset name=rs><input type=button name=bt value=b></form>)",
       "go", PageCharset::Utf8, "http://h/save.php?old=1", "POST",
       "t=a+b%26c%2Fd%7E*-_.&p=x&c1=1&r=b&s=B&m=1&m=3&ta=l1%0D%0Al2&go=Go"},
      {R"(<form action="find.php"><input name=q value="船 名"><input type=hidden name=e value="😀">
          <input type=image id=img name=img src=x.gif></form>)",
       "img", PageCharset::Big5,
       "http://h/dir/find.php?q=%B2%EE+%A6W&e=%26%23128512%3B&img.x=0&img.y=0"},
      {"<form><input name=a value=1><button id=b name=b value=2>送</button></form>", "b",
       PageCharset::Big5, "http://h/dir/p.php?a=1&b=2"},
      {"<form><select name=s><option disabled>0<option>1</select><input type=submit id=s></form>",
       "s", PageCharset::Utf8, "http://h/dir/p.php?s=1"},
      {"<form action=q.php><input type=submit id=s disabled></form>", "s", PageCharset::Utf8, ""},
      {"<form action=q.php><input id=t name=t></form>", "t", PageCharset::Utf8, ""},
      {"<input type=submit id=s>", "s", PageCharset::Utf8, ""},
      {"<form action=q.php><button type=button id=b>x</button></form>", "b", PageCharset::Utf8, ""},
      {R"(<a href="next.php?n=船"><img id=i src=a.gif></a>)", "i", PageCharset::Big5,
       "http://h/dir/next.php?n=%B2%EE"},
      {R"(<a id=a href="../up.htm#sec">up</a>)", "a", PageCharset::Utf8, "http://h/up.htm"},
      {"<a id=a href=#top>top</a>", "a", PageCharset::Utf8, ""},
      {"<a id=a href=javascript:go()>go</a>", "a", PageCharset::Utf8, ""},
      {"<a id=a name=here>here</a>", "a", PageCharset::Utf8, ""},
  };
  for (const Case& c : cases) {
    const SimDom dom = ParseHtml(QString::fromUtf8(c.html));
    const auto request = ClickRequest(dom, elementWithId(dom, c.click), page, c.charset);
    ASSERT_EQ(request.has_value(), !c.url.isEmpty()) << c.html;
    if (!request) continue;
    EXPECT_EQ(request->url, c.url) << c.html;
    EXPECT_EQ(request->method, c.method) << c.html;
    EXPECT_EQ(request->body, c.body) << c.html;
  }
}

TEST(SimBrowser, PostedFormReachesTheSiteWithItsBodyAndAClickOnTextStartsNothing) {
  SimPortDesktop desk;
  desk.sites().addPage("/f.php", utf8Page(R"(<p id=p>text</p><form method=post action=save.php>
      <input name=n value=1><input type=submit id=s></form>)"));
  auto& w = desk.start<Browsing>();
  w.Open(kHost + "/f.php");
  desk.advance(1s);
  auto doc = w.pageBrowser.Document();

  doc->All().item(3).Click();  // the paragraph
  EXPECT_FALSE(w.pageBrowser.Busy());
  doc->All().item(6).Click();  // the submit button
  EXPECT_TRUE(w.pageBrowser.Busy());
  desk.advance(1s);

  ASSERT_EQ(desk.navigations().size(), 2u);
  EXPECT_EQ(desk.navigations()[1].request.body, "n=1");
  EXPECT_EQ(desk.navigations()[1].request.contentType, "application/x-www-form-urlencoded");
  EXPECT_EQ(desk.sites().requestLog().back(), "POST /save.php");
  doc->All().item(6).Click();  // the old page is gone
  EXPECT_FALSE(w.pageBrowser.Busy());
}

TEST(SimBrowser, InnerTextOfABig5TablePageKeepsOnlyRenderedText) {
  SimPortDesktop desk;
  desk.sites().addPage("/ships.php",
                       {200, "text/html", sites::Big5Page("標題", R"(<style>p { color: red }</style>
      <script>var s = "腳本";</script><h1>船期表</h1>
      <table><tr><th>船名</th><th>港口</th></tr>
      <tr><td> 長榮&nbsp;號 </td><td>高雄</td></tr></table><p>共   2 筆</p>)")});
  auto& w = desk.start<Browsing>();
  w.Open(kHost + "/ships.php");
  desk.advance(1s);

  EXPECT_EQ(w.pageBrowser.Document()->documentElement().innerText(),
            QString("船期表\r\n船名\t港口\r\n長榮\u00A0號\t高雄\r\n\r\n共 2 筆"));
}

TEST(SimInnerText, FollowsTheBrowsersLineAndSpaceRules) {
  const std::pair<const char*, const char*> cases[] = {
      {"a  b\n c", "a b c"},
      {"<div>a</div><div>b</div>", "a\r\nb"},
      {"a<br>b<br><br>c", "a\r\nb\r\n\r\nc"},
      {"<p>a</p><p>b</p>", "a\r\n\r\nb"},
      {"<ul><li> x </li><li>y</li></ul>", "x\r\ny"},
      {"<pre>\n a  b\nc</pre>", " a  b\r\nc"},
      {"<div hidden>h</div><span style='display: NONE'>s</span><noscript>n</noscript>v", "v"},
      {"<table><tr><td>1<td><td>3<tr><td>4</table>", "1\t\t3\r\n4"},
      {"<b>bo</b>ld <i>it</i> <input value=no><textarea>no</textarea>", "bold it"},
      {"<br><br>x<br><br>", "x"},
      {"<title>t</title>", ""},
  };
  for (const auto& [html, text] : cases) {
    EXPECT_EQ(InnerText(ParseHtml(QString::fromUtf8(html))), QString::fromUtf8(text)) << html;
  }
}

TEST(SimBrowser, LoadResultsReportHttpErrorsAndUnreachableServers) {
  struct Case {
    QString url;
    bool failed;
    int status;
    QString text;
  };
  const Case cases[] = {
      {kHost + "/ok", false, 200, "fine"},
      {kHost + "/error", true, 500, "oops"},
      {kHost + "/missing", true, 404, "找不到網頁"},
      {kHost + "/down", true, 0, "無法顯示網頁"},
      {"ftp://127.0.0.1/x", true, 0, "無法顯示網頁"},
  };
  for (const Case& c : cases) {
    SimPortDesktop desk;
    desk.sites().addPage("/ok", utf8Page("fine"));
    desk.sites().addPage("/error", utf8Page("oops", 500));
    desk.sites().addPage("/down", SiteResponse::refused());
    auto& w = desk.start<Browsing>();
    w.Open(c.url);
    desk.advance(1s);

    EXPECT_EQ(w.resumed, 1) << c.url.toStdString();
    EXPECT_EQ(w.pageBrowser.lastLoad().failed, c.failed) << c.url.toStdString();
    EXPECT_EQ(w.pageBrowser.lastLoad().httpStatus, c.status) << c.url.toStdString();
    EXPECT_TRUE(w.pageBrowser.Document()->documentElement().innerText().contains(c.text))
        << c.url.toStdString();
    EXPECT_EQ(desk.navigations().back().result.failed, c.failed) << c.url.toStdString();
  }
  SimPortDesktop desk;
  desk.sites().addPage("/down", SiteResponse::refused());
  desk.start<Browsing>().Open(kHost + "/down");
  desk.advance(1s);
  EXPECT_TRUE(desk.sites().requestLog().isEmpty());  // a refused connection reaches no server
}

TEST(SimBrowser, APageThatNeverCompletesIsReportedAsStalled) {
  SimWeb::takeStalledAtTeardown();
  {
    SimPortDesktop desk;
    desk.sites().addPage("/hang", SiteResponse::never());
    auto& w = desk.start<Browsing>();
    w.Open(kHost + "/hang");
    desk.advance(60s);
    EXPECT_TRUE(desk.stalledPages().empty());
    desk.advance(1s);

    EXPECT_TRUE(w.pageBrowser.Busy());
    EXPECT_EQ(w.resumed, 0);
    ASSERT_EQ(desk.stalledPages().size(), 1u);
    EXPECT_EQ(desk.stalledPages()[0].browser, "Browsing.WebBrowser1");
    EXPECT_EQ(desk.stalledPages()[0].url, kHost + "/hang");
  }
  const auto atTeardown = SimWeb::takeStalledAtTeardown();
  ASSERT_EQ(atTeardown.size(), 1u);
  EXPECT_EQ(atTeardown[0].url, kHost + "/hang");

  SimPortDesktop desk;  // once the program has ended, nothing is waiting any more
  desk.sites().addPage("/hang", SiteResponse::never());
  desk.start<Browsing>().Open(kHost + "/hang");
  desk.endProgram();
  desk.advance(61s);
  EXPECT_TRUE(desk.stalledPages().empty());
}

TEST(SimBrowser, ANewNavigationReplacesThePendingOne) {
  SimPortDesktop desk;
  desk.sites().addPage("/hang", SiteResponse::never());
  for (const char* path : {"/a", "/b", "/c"}) desk.sites().addPage(path, utf8Page(path));
  auto& w = desk.start<Browsing>();
  w.Open(kHost + "/hang");
  desk.advance(10s);
  w.pageBrowser.Navigate2(kHost + "/a");
  desk.advance(100ms);  // before its answer
  w.pageBrowser.onNavigateComplete2 = [&w](HtmlDocument&, const QString& url, bool) {
    if (url.endsWith("/b")) w.pageBrowser.Navigate2(kHost + "/c");
  };
  w.Open(kHost + "/b");  // its NavigateComplete2 moves on before it completes
  desk.advance(70s);

  EXPECT_EQ(w.completed, QStringList{kHost + "/c"});
  EXPECT_EQ(w.resumed, 2);  // both waits end with the page that completed
  EXPECT_TRUE(desk.stalledPages().empty());
  using State = SimNavigation::State;
  std::vector<State> states;
  for (const auto& n : desk.navigations()) states.push_back(n.state);
  EXPECT_EQ(states,
            (std::vector{State::Replaced, State::Replaced, State::Replaced, State::Completed}));

  w.pageBrowser.Document()->execScript("one");
  w.pageBrowser.Document()->execScript("two");
  EXPECT_EQ(desk.navigations()[3].scripts, QStringList({"one", "two"}));
}

TEST(SimBrowser, MalformedEmptyAndHugePagesStillGiveADocument) {
  QByteArray deep;
  for (int i = 0; i < 100000; ++i) deep += "<div><table><tr><td>";
  QByteArray huge;
  for (int i = 0; i < 200000; ++i) huge += "<p>row " + QByteArray::number(i) + " &amp; more</p>";
  const QByteArray bodies[] = {"",
                               "<<<>>><</ \"'",
                               "<table><tr><td>x<td",
                               "</html></body>",
                               deep,
                               QByteArray("a\0b\xff\xfe<b", 7),
                               huge};
  for (const QByteArray& body : bodies) {
    SimPortDesktop desk;
    desk.sites().addPage("/p", {200, "text/html; charset=big5", body});
    auto& w = desk.start<Browsing>();
    w.Open(kHost + "/p");
    desk.advance(1s);

    auto doc = w.pageBrowser.Document();
    ASSERT_TRUE(doc) << body.left(40).toStdString();
    EXPECT_FALSE(w.pageBrowser.Busy());
    EXPECT_EQ(doc->documentElement().tagName(), "HTML");
    EXPECT_EQ(doc->All().item(1).tagName(), "HEAD");
  }
}

TEST(SimWeb, PagesAreDecodedByTheCharsetTheyDeclare) {
  const QByteArray big5 = "\xA4\xA4\xA4\xE5";  // 中文
  const std::tuple<QByteArray, QByteArray, PageCharset> cases[] = {
      {"text/html; charset=BIG5", big5, PageCharset::Big5},
      {"text/html", "<meta charset=\"big5\">" + big5, PageCharset::Big5},
      {"text/html", "<META HTTP-EQUIV=Content-Type CONTENT='text/html; charset=big5'>" + big5,
       PageCharset::Big5},
      {"text/html; charset=utf-8", "<meta charset=big5>中文", PageCharset::Utf8},
      {"text/html", "中文", PageCharset::Utf8},
      {"text/html; charset=big5", "\xEF\xBB\xBF中文", PageCharset::Utf8},
  };
  for (const auto& [type, body, charset] : cases) {
    const DecodedPage page = DecodePage(type, body);
    EXPECT_EQ(page.charset, charset) << body.toStdString();
    EXPECT_TRUE(page.html.endsWith(QString("中文"))) << body.toStdString();
  }
}
