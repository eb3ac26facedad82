#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QUrl>

#include "browser_harness.h"
#include "browser_test_server.h"
#include "common/page/page_wait.h"
#include "platform/ansi_text.h"
#include "platform/desktop.h"
#include "platform/form.h"
#include "platform/task.h"
#include "platform/web_browser.h"
#include "test_printers.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

// Clicks, then waits for the page as window code does; records what it saw.
struct ClickOutcome {
  bool busyAfterClick = false;
  bool resumed = false;
  bool busyWhenResumed = true;
  QString urlWhenResumed;
};

Task clickAndWait(WebBrowser& browser, HtmlElement element, ClickOutcome& out) {
  element.Click();
  out.busyAfterClick = browser.Busy();
  co_await PageWait(browser);
  out.resumed = true;
  out.busyWhenResumed = browser.Busy();
  out.urlWhenResumed = browser.Document() ? browser.Document()->url() : QString();
}

QByteArray big5(const QString& text) { return toAnsi(text); }

QString formValue(const QByteArray& encoded) {
  QByteArray bytes = encoded;
  bytes.replace('+', ' ');
  return QUrl::fromPercentEncoding(bytes);
}

class BrowserCharacterization : public BrowserPageTest {
 protected:
  HtmlElement element(const QString& tag, const QString& name) {
    auto all = document().All();
    for (int i = 0; i < all.length(); ++i) {
      HtmlElement e = all.item(i);
      if (e.tagName() == tag && e.Name() == name) return e;
    }
    ADD_FAILURE() << "no " << tag.toStdString() << " named " << name.toStdString();
    return {};
  }

  bool clickAndAwait(HtmlElement e, ClickOutcome& out) {
    clickAndWait(browser(), e, out);
    return spinUntil([&] { return out.resumed; }, 20s);
  }
};

TEST_F(BrowserCharacterization, PageDialogsShowNothingAndConfirmAndPromptAreRefused) {
  const QByteArray results =
      "'confirm:' + (c ? 'accepted' : 'refused') + ' prompt:' + (p ? 'answered' : 'refused')";
  server_.serve("/dialogs", {200, "text/html",
                             "<p id=top>pending</p><p id=frame>pending</p>"
                             "<iframe src='/dialog-frame'></iframe><script>alert('a');"
                             "var c = confirm('c'); var p = prompt('p', 'x');"
                             "document.getElementById('top').textContent = 'top ' + " +
                                 results + ";</script>"});
  server_.serve("/dialog-frame", {200, "text/html",
                                  "<script>alert('a'); var c = confirm('c'); var p = prompt('p');"
                                  "parent.document.getElementById('frame').textContent = "
                                  "'frame ' + " +
                                      results + ";</script>"});

  ASSERT_TRUE(open(server_.url("/dialogs")));
  const QString text = document().documentElement().innerText();
  EXPECT_TRUE(text.contains("top confirm:refused prompt:refused")) << text.toStdString();
  EXPECT_TRUE(text.contains("frame confirm:refused prompt:refused")) << text.toStdString();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(qobject_cast<QDialog*>(w) && w->isVisible()) << "a dialog is on screen";
  }
}

TEST_F(BrowserCharacterization, SubmitClickIsBusyAtOnceUntilTheAnswerPageCompleted) {
  server_.serve("/form", {200, "text/html",
                          "<form action='/answer'><input name=q value=1>"
                          "<input type=submit name=go value=Go></form>"});
  // Longer than the grace a click gets to start its navigation.
  server_.serve("/answer", {200, "text/html", "<p>answer</p>", 2500});
  ASSERT_TRUE(open(server_.url("/form")));

  bool idleBeforeAnswer = false;
  const int before = form_->completed;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!browser().Busy() && form_->completed == before) idleBeforeAnswer = true;
  });
  watch.start(10);
  ClickOutcome out;
  ASSERT_TRUE(clickAndAwait(element("INPUT", "go"), out));
  watch.stop();

  EXPECT_TRUE(out.busyAfterClick);
  EXPECT_FALSE(idleBeforeAnswer);
  EXPECT_FALSE(out.busyWhenResumed);
  EXPECT_TRUE(out.urlWhenResumed.contains("/answer?q=1")) << out.urlWhenResumed.toStdString();
  EXPECT_TRUE(document().documentElement().innerText().contains("answer"));
}

TEST_F(BrowserCharacterization, SubmitThatDoesNotNavigateEndsBusyAfterTheGrace) {
  server_.serve("/held", {200, "text/html",
                          "<form action='/never' onsubmit='return false'>"
                          "<input type=submit name=go value=Go></form>"});
  ASSERT_TRUE(open(server_.url("/held")));

  ClickOutcome out;
  ASSERT_TRUE(clickAndAwait(element("INPUT", "go"), out));
  EXPECT_TRUE(out.busyAfterClick);
  EXPECT_FALSE(out.busyWhenResumed);
  EXPECT_TRUE(out.urlWhenResumed.endsWith("/held"));
  EXPECT_FALSE(server_.lastRequestFor("/never"));
}

TEST_F(BrowserCharacterization, Big5PageTextComesBackWithTabsBetweenCellsAndCrLfLines) {
  const QString title = QStringLiteral("船名查詢");
  const QString rows = QStringLiteral("長榮輪\t12:30\r\n陽明輪\t08:15");
  ASSERT_EQ(fromAnsi(big5(title + rows)), title + rows);
  server_.serve("/big5", {200, "text/html; charset=Big5",
                          "<html><body><p>" + big5(title) + "</p><table><tr><td>" +
                              big5(QStringLiteral("長榮輪")) + "</td><td>12:30</td></tr><tr><td>" +
                              big5(QStringLiteral("陽明輪")) +
                              "</td><td>08:15</td></tr></table></body></html>"});

  ASSERT_TRUE(open(server_.url("/big5")));
  const QString text = document().documentElement().innerText();
  EXPECT_TRUE(text.startsWith(title)) << text.toStdString();
  EXPECT_TRUE(text.contains(rows)) << text.toStdString();
  EXPECT_EQ(text.count('\n'), text.count("\r\n"));
}

TEST_F(BrowserCharacterization, LoadResultsGiveTheHttpStatusOrNoneWithoutAnAnswer) {
  server_.serve("/ok", {200, "text/html", "<p>fine</p>"});
  server_.serve("/broken", {500, "text/html", "<p>server trouble</p>"});

  ASSERT_TRUE(open(server_.url("/ok")));
  EXPECT_FALSE(browser().lastLoad().failed);
  EXPECT_EQ(browser().lastLoad().httpStatus, 200);

  ASSERT_TRUE(open(server_.url("/broken")));
  EXPECT_TRUE(browser().lastLoad().failed);
  EXPECT_EQ(browser().lastLoad().httpStatus, 500);
  EXPECT_TRUE(document().documentElement().innerText().contains("server trouble"));

  const QString refused =
      QStringLiteral("http://127.0.0.1:%1/x").arg(BrowserTestServer::unusedPort());
  ASSERT_TRUE(open(refused));
  EXPECT_TRUE(browser().lastLoad().failed);
  EXPECT_EQ(browser().lastLoad().httpStatus, 0);
  EXPECT_EQ(browser().LocationURL(), refused);
}

TEST_F(BrowserCharacterization, Big5FormSubmitsItsValuesInThePageCharset) {
  server_.serve("/search-form", {200, "text/html; charset=Big5",
                                 "<form action='/search'><input name=OK value=''>"
                                 "<input type=submit name=go value='" +
                                     big5(QStringLiteral("查詢")) + "'></form>"});
  server_.serve("/search", {200, "text/html", "<p>results</p>"});
  ASSERT_TRUE(open(server_.url("/search-form")));

  element("INPUT", "OK").setValue(QStringLiteral("搜尋"));
  ClickOutcome out;
  ASSERT_TRUE(clickAndAwait(element("INPUT", "go"), out));
  const auto search = server_.lastRequestFor("/search");
  ASSERT_TRUE(search);
  EXPECT_TRUE(search->target.startsWith("/search?OK=%B7j%B4M&go=")) << search->target.data();
}

TEST_F(BrowserCharacterization, WrittenValuesArriveVerbatimAndInOrderWithPageScripts) {
  server_.serve("/echo-form", {200, "text/html; charset=utf-8",
                               "<form action='/echo' method=post><input name=line>"
                               "<textarea name=lines></textarea><input name=scripted>"
                               "<input type=submit name=go value=Go></form>"});
  server_.serve("/echo", {200, "text/html", "<p>thanks</p>"});
  ASSERT_TRUE(open(server_.url("/echo-form")));

  const QString line = QStringLiteral(
      "He said \"hi\" & it's \\back\\ </script><script>document.title='x'</script>"
      "'); alert(1); ('%1 ${x} \u2028 ok");
  const QString lines = QStringLiteral("first\n\"second\"\\\n</textarea>third");
  element("INPUT", "line").setValue(line);
  element("TEXTAREA", "lines").setValue(lines);
  document().execScript(
      QStringLiteral("document.getElementsByName('scripted')[0].value = "
                     "document.getElementsByName('line')[0].value.length;"));
  ClickOutcome out;
  ASSERT_TRUE(clickAndAwait(element("INPUT", "go"), out));

  const auto echo = server_.lastRequestFor("/echo");
  ASSERT_TRUE(echo);
  auto fields = formFields(echo->body);
  EXPECT_EQ(formValue(fields["line"]), line);
  EXPECT_EQ(formValue(fields["lines"]), QString(lines).replace("\n", "\r\n"));
  EXPECT_EQ(formValue(fields["scripted"]), QString::number(line.size()));
}

TEST_F(BrowserCharacterization, DocumentOfAnEarlierPageNoLongerWritesToTheBrowser) {
  server_.serve("/first", {200, "text/html", "<form><input name=a></form>"});
  server_.serve("/second", {200, "text/html",
                            "<form action='/sent'><input name=b>"
                            "<input type=submit name=go value=Go></form>"});
  server_.serve("/sent", {200, "text/html", "<p>sent</p>"});
  ASSERT_TRUE(open(server_.url("/first")));
  const auto first = browser().Document();
  ASSERT_EQ(first->element(4)->name, QStringLiteral("a"));
  ASSERT_TRUE(open(server_.url("/second")));
  ASSERT_EQ(document().element(4)->name, QStringLiteral("b"));

  first->setValue(4, QStringLiteral("stale"));  // the same index on the page now shown
  ClickOutcome out;
  ASSERT_TRUE(clickAndAwait(element("INPUT", "go"), out));
  const auto sent = server_.lastRequestFor("/sent");
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->target, QByteArray("/sent?b=&go=Go"));
}

// The control interface of tidex-sites that BrowserTestServer stands on; no browser involved.
TEST(TestPageControl, APageAnswersEveryMethodAndQueryWithItsStatusTypeBytesAndDelay) {
  BrowserTestServer server;
  const QString base = server.url("");
  const QByteArray bytes("a\0b\xb7\r\n", 6);
  server.serve("/page", {201, "text/plain; charset=big5", bytes, 200});

  for (const QByteArray method : {"GET", "POST", "PUT", "DELETE"}) {
    QElapsedTimer clock;
    clock.start();
    const HttpAnswer answer = httpSend(base, method, "/page?x=1&y", "form=1");
    EXPECT_GE(clock.elapsed(), 200) << method.data();
    EXPECT_EQ(answer.status, 201) << method.data();
    EXPECT_EQ(answer.body, bytes) << method.data();
    EXPECT_TRUE(answer.head.contains("\r\nContent-Type: text/plain; charset=big5\r\n"))
        << answer.head.data();
    EXPECT_TRUE(answer.head.contains("\r\nCache-Control: no-store\r\n")) << answer.head.data();
  }
  EXPECT_EQ(httpSend(base, "GET", "/pages").status, 404);

  server.serve("/page", {200, "text/html", "again"});
  EXPECT_EQ(httpSend(base, "GET", "/page").body, QByteArray("again"));
}

TEST(TestPageControl, TheRecordHoldsServiceRequestsAsSentAndNoControlOnes) {
  BrowserTestServer server;
  const QString base = server.url("");
  server.serve("/echo", {});
  const QByteArray body("x=%B7j&y=a+b\0\xff\n", 15);
  ASSERT_EQ(httpSend(base, "POST", "/echo?q=%B7j+a%2b&r", body).status, 200);
  ASSERT_EQ(httpSend(base, "GET", "/missing?x").status, 404);
  ASSERT_EQ(httpSend(base, "GET", "/_control/log").status, 200);

  const std::vector<SeenRequest> seen = server.requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].method, QByteArray("POST"));
  EXPECT_EQ(seen[0].target, QByteArray("/echo?q=%B7j+a%2b&r"));
  EXPECT_EQ(seen[0].body, body);
  EXPECT_EQ(seen[1].method, QByteArray("GET"));
  EXPECT_EQ(seen[1].target, QByteArray("/missing?x"));
  EXPECT_TRUE(seen[1].body.isEmpty());
  EXPECT_EQ(server.lastRequestFor("/echo").value().body, body);

  EXPECT_EQ(httpSend(base, "GET", "/_control/log").body,
            QByteArray("POST /echo?q=%B7j+a%2b&r\nGET /missing?x\n"));
}

TEST(TestPageControl, BadPageParametersAreRefusedAndPutNothingUp) {
  BrowserTestServer server;
  const QString base = server.url("");
  for (const QByteArray query :
       {"status=200", "path=p", "path=/_control/log", "path=/p&status=abc", "path=/p&status=99",
        "path=/p&status=600", "path=/p&delay=-1", "path=/p&delay=soon"}) {
    EXPECT_EQ(httpSend(base, "POST", "/_control/page?" + query, "page").status, 400)
        << query.data();
  }
  EXPECT_EQ(httpSend(base, "GET", "/p").status, 404);
  EXPECT_EQ(httpSend(base, "GET", "/_control/log").status, 200);
}

}  // namespace
