// The Qt browser against the services' faults and against pages that lead to other schemes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include "board_path.h"
#include "browser_harness.h"
#include "browser_test_server.h"
#include "platform/desktop.h"
#include "platform/form.h"
#include "platform/web_browser.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

class BrowserFaults : public BrowserPageTest {
 protected:
  int requestsFor(const QByteArray& pathStart) const {
    int count = 0;
    for (const SeenRequest& r : server_.requests()) count += r.target.startsWith(pathStart);
    return count;
  }
  static bool dialogOrWindowShown() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible()) return true;
    }
    return false;
  }
};

// What the simulated browser reproduces for each fault: whether the load fails, its status,
// where the browser stands and what it shows.
TEST_F(BrowserFaults, EachFaultEndsTheLoadAsTheSimulatedBrowserHasIt) {
  struct Case {
    const char* kind;
    bool failed;
    int status;
    bool away;        // the browser stands on the other host's landing page
    bool showsBoard;  // the board's last row is shown (for a download: the page shown before)
  };
  const Case cases[] = {
      {"500", true, 500, false, false},           {"404", true, 404, false, false},
      {"refused", true, 0, false, false},         {"download", true, 0, false, true},
      {"redirect-loop", true, 0, false, false},   {"redirect-away", false, 200, true, false},
      {"cut-off", true, 0, false, false},         {"huge", false, 200, false, true},
      {"many-elements", false, 200, false, true}, {"dialogs", false, 200, false, true},
  };
  const QString board = server_.url((kBoardPath + "?QSP_PORT=1108").toLatin1());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    ASSERT_TRUE(server_.control("/_control/faults/board?kind=none"));
    ASSERT_TRUE(open(board));
    ASSERT_TRUE(server_.control(QStringLiteral("/_control/faults/board?kind=") + c.kind));
    ASSERT_TRUE(open(board));
    EXPECT_EQ(browser().lastLoad().failed, c.failed);
    EXPECT_EQ(browser().lastLoad().httpStatus, c.status);
    EXPECT_EQ(browser().LocationURL().startsWith(u"http://localhost:"), c.away)
        << browser().LocationURL().toStdString();
    EXPECT_EQ(text().contains(u"EVER LAUREL"), c.showsBoard);
  }
  ASSERT_TRUE(server_.control("/_control/faults/board?kind=huge"));
  ASSERT_TRUE(open(board));
  EXPECT_GT(text().size(), 5'000'000);
  ASSERT_TRUE(server_.control("/_control/faults/board?kind=many-elements"));
  ASSERT_TRUE(open(board));
  EXPECT_GT(browser().Document()->All().length(), 40'000);

  ASSERT_TRUE(server_.control("/_control/faults/board?kind=dialogs"));
  ASSERT_TRUE(open(board));
  spinFor(2s);  // rounds of the dialog loop
  EXPECT_FALSE(dialogOrWindowShown());
  EXPECT_EQ(requestsFor("/elsewhere/popup"), 0) << "a page opened a window";
  ASSERT_TRUE(server_.control("/_control/faults/reset"));
}

// Whatever the program is asked for or a page tries, no file, data or script page loads: each
// such page would ask tidex-sites for a beacon.
TEST_F(BrowserFaults, NoPageOfAnotherSchemeLoadsWhateverTheAddressOrThePage) {
  QTemporaryDir folder;
  const QByteArray base = server_.url("").toLatin1();
  const QString probe = folder.filePath("probe.html");
  {
    QFile file(probe);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<p>local file</p><img src='" + base + "/beacon/file'>");
  }
  const QByteArray fileUrl = QUrl::fromLocalFile(probe).toEncoded();
  const QByteArray dataUrl = "data:text/html,<img src='" + base + "/beacon/data'>";
  const QByteArray scriptUrl = "javascript:void(new Image().src='" + base + "/beacon/script')";
  struct Case {
    const char* what;
    QByteArray address;  // the program navigates to it
    QByteArray page;     // or a page of tidex-sites does this
  };
  const Case cases[] = {
      {"the program asks for a file", fileUrl, {}},
      {"the program asks for a data page", dataUrl, {}},
      {"the program asks for a script address", scriptUrl, {}},
      {"a link to a file, clicked",
       {},
       "<a id=a href='" + fileUrl +
           "'>x</a><script>"
           "document.getElementById('a').click()</script>"},
      {"a frame of a data page", {}, "<iframe src=\"" + dataUrl + "\"></iframe>"},
      {"a frame of a file", {}, "<iframe src='" + fileUrl + "'></iframe>"},
      {"a refresh to a data page",
       {},
       "<meta http-equiv=refresh content=\"0;url=" + dataUrl + "\">"},
      {"a script going to a file", {}, "<script>location.href='" + fileUrl + "'</script>"},
      {"a script going to a data page", {}, "<script>location.href=\"" + dataUrl + "\"</script>"},
  };
  server_.serve("/start", {200, "text/html", "<p>start</p>"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int before = requestsFor("/beacon/");
    ASSERT_TRUE(open(server_.url("/start")));
    if (!c.address.isEmpty()) {
      browser().Navigate2(QString::fromLatin1(c.address));
      EXPECT_TRUE(spinUntil([&] { return !browser().Busy(); }, 5s)) << "still busy";
      EXPECT_EQ(browser().Document()->url(), server_.url("/start"));
    } else {
      server_.serve("/attempt", {200, "text/html", c.page});
      ASSERT_TRUE(open(server_.url("/attempt")));
      spinFor(1500ms);
      EXPECT_EQ(browser().LocationURL(), server_.url("/attempt"));
    }
    spinFor(500ms);
    EXPECT_EQ(requestsFor("/beacon/"), before) << "a page of another scheme loaded";
  }
}

}  // namespace
