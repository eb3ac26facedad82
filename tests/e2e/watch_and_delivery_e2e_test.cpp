// Who watches the watcher, on the real program: a target that fails is seen in the windows and
// by the dead-man's switch while the others deliver, and a webhook hears of each start, end and
// crash of the program.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include "remote_alerts.h"
#include "smtp_server.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

// The journal file and those of the files SQLite keeps beside it that exist.
QStringList journalFiles(const ConsoleSession& session) {
  const QString journal = session.home.filePath(QStringLiteral("Tidex-journal.db"));
  QStringList files{journal};
  for (const char* suffix : {"-wal", "-shm"}) {
    if (QFile::exists(journal + suffix)) files << journal + suffix;
  }
  return files;
}

// The row of the list, as a screen reader reads its cells, whose first cell is `first`; empty
// when there is none.
QStringList rowOf(const AccessibilityBus& a11y, const Accessible& list, qsizetype columns,
                  const QString& first) {
  const QStringList cells = a11y.names(list, "tree item");
  for (qsizetype at = 0; at + columns <= cells.size(); at += columns) {
    if (cells[at] == first) return cells.mid(at, columns);
  }
  return {};
}

}  // namespace

// The mail server refuses the alert's mail for good (550), the webhook takes it. At four times
// the wall clock, the mail's back-off (30 s, 60 s) and the watchdog's minute pass quickly.
TEST(ProgramEndToEnd, AMailRefusedForGoodShowsFailingAndIsGivenUpWhileTheWebhookDelivers) {
  SmtpServer smtp(1000, SmtpServer::Security::Plain, SmtpServer::Refusal::ForGood);
  ASSERT_TRUE(smtp.started());
  ConsoleSession session;
  ASSERT_TRUE(session.sites.started());
  const QByteArray sites = session.sites.base().toLatin1();
  addToSettings(session.home.path(),
                "[notify]\r\nphone=email\r\nhook=webhook\r\nwatchdog=heartbeat\r\n"
                "[notify phone]\r\naddress=smtp://127.0.0.1:" +
                    QByteArray::number(smtp.port()) +
                    "\r\nfrom=tidex@harbour.test\r\nto=duty@harbour.test\r\nevents=alert\r\n"
                    "[notify hook]\r\naddress=" +
                    sites + "/hooks/tidex\r\nevents=alert\r\n[notify watchdog]\r\naddress=" +
                    sites + "/ping/abc\r\nevery=1\r\nfailsuffix=/fail\r\n");
  ASSERT_TRUE(session.start(ProgramClock::faster(4)))
      << session.failure() << session.program.output().data();
  const AccessibilityBus& a11y = session.a11y;
  raiseWharfAlert(session);

  // The webhook's key is the body's id; its lines are the board's as the change log shows them.
  QJsonArray alerts;
  ASSERT_TRUE(waitUntil(
      [&] { return !(alerts = postsOfKind(webhookPosts(session.sites), "alert")).isEmpty(); }, 60s))
      << session.program.output().data();
  const QJsonObject post = alerts.at(0).toObject();
  const QJsonObject body = post["body"].toObject();
  EXPECT_EQ(post["answer"].toString(), "accepted");
  EXPECT_FALSE(body["id"].toString().isEmpty());
  EXPECT_EQ(post["key"].toString(), body["id"].toString());
  const QList<QStringList> rows =
      session.journalRows("alert", {QStringLiteral("page_before"), QStringLiteral("page_after")});
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(body["before"].toString(), rows[0][0]);
  EXPECT_EQ(body["after"].toString(), rows[0][1]);
  EXPECT_TRUE(rows[0][0].contains("14:30") && rows[0][1].contains("23:45"))
      << rows[0].join("\n---\n").toStdString();
  EXPECT_FALSE((body["before"].toString() + body["after"].toString()).contains('\t'))
      << "the lines, not the comparison text";
  for (const QString& path : journalFiles(session)) {
    EXPECT_TRUE(ownersAlone(path)) << path.toStdString();
  }

  // Since when and why the mail fails, in 監看狀態 and in 設定's column 狀態.
  ASSERT_TRUE(waitUntil([&] { return smtp.tries() >= 1; }, 30s));
  const auto refused = [](const QString& text) {
    return text.contains(QStringLiteral("起無法傳送")) &&
           text.contains(QStringLiteral("伺服器拒收（代碼 550）"));
  };
  const QString status = QStringLiteral("監看狀態");
  ASSERT_TRUE(a11y.press(session.consoleControl("menu item", status)));
  QStringList row;
  EXPECT_TRUE(waitUntil(
      [&] {
        row = rowOf(a11y, a11y.find(a11y.window(status), "tree", status), 7, "phone");
        return row.value(1) == QStringLiteral("通知對象") && refused(row.value(2));
      },
      20s))
      << row.join(" | ").toStdString();
  const QString settings = QStringLiteral("設定");
  ASSERT_TRUE(a11y.press(session.consoleControl("menu item", settings)));
  Accessible targets;
  ASSERT_TRUE(waitUntil(
      [&] {
        return (targets = a11y.find(a11y.window(settings), "tree", QStringLiteral("通知對象")))
            .valid();
      },
      20s));
  EXPECT_TRUE(
      waitUntil([&] { return refused((row = rowOf(a11y, targets, 5, "phone")).value(4)); }, 10s))
      << row.join(" | ").toStdString();
  row = rowOf(a11y, targets, 5, "hook");
  EXPECT_TRUE(row.value(4).endsWith(QStringLiteral("已送達"))) << row.join(" | ").toStdString();

  // The dead-man's switch heard all was well, then that a target fails.
  const auto failPings = [&] {
    QStringList texts;
    for (const auto& ping : pings(session.sites)) {
      if (ping.toObject()["path"].toString() == "/ping/abc/fail") {
        texts << ping.toObject()["text"].toString();
      }
    }
    return texts;
  };
  EXPECT_TRUE(waitUntil([&] { return !failPings().isEmpty(); }, 40s));
  EXPECT_TRUE(failPings().value(0).contains(QStringLiteral("通知對象無法傳送 1 個")))
      << failPings().value(0).toStdString();
  const QJsonObject firstPing = pings(session.sites).at(0).toObject();
  EXPECT_EQ(firstPing["path"].toString(), "/ping/abc");
  EXPECT_TRUE(firstPing["type"].toString().startsWith("text/plain"));

  // Refused three times, the mail is given up into the journal; no fourth try comes.
  QStringList undelivered;
  ASSERT_TRUE(waitUntil(
      [&] { return !(undelivered = session.journalSummaries("undelivered")).isEmpty(); }, 60s))
      << "tries so far: " << smtp.tries();
  EXPECT_EQ(undelivered.size(), 1);
  EXPECT_TRUE(undelivered.value(0).contains("phone") && undelivered.value(0).contains("550"))
      << undelivered.value(0).toStdString();
  std::this_thread::sleep_for(10s);
  EXPECT_EQ(smtp.tries(), 3);
  EXPECT_TRUE(smtp.mails().isEmpty());
}

// A new computer: the program makes its settings file. The user adds the port's servers, a
// watchdog pinged every minute and a webhook for the program's news, ends from the File menu,
// starts again, and the power fails; each start says how the last run ended.
TEST(ProgramEndToEnd, TheWatchdogIsPingedAndTheWebhookHearsOfEachStartEndAndCrash) {
  ConsoleSession session(ConsoleSession::Manager::None, ConsoleSession::Home::Empty);
  const QString ini = session.home.filePath(QStringLiteral("Tidex.ini"));
  ASSERT_TRUE(session.startHidden()) << session.failure() << session.program.output().data();
  session.program.terminate();
  ASSERT_TRUE(session.program.waitForExit(20s));
  session.sites.configure(session.home.path());
  const QByteArray sites = session.sites.base().toLatin1();
  addToSettings(
      session.home.path(),
      "[notify]\r\nwatchdog=heartbeat\r\nhome=webhook\r\n[notify watchdog]\r\naddress=" + sites +
          "/ping/abc\r\nevery=1\r\nfailsuffix=/fail\r\n[notify home]\r\naddress=" + sites +
          "/hooks/tidex\r\nevents=program\r\n");
  const auto starts = [&] { return postsOfKind(webhookPosts(session.sites), "program-started"); };
  const auto summaryOf = [](const QJsonArray& posts, qsizetype at) {
    return posts.at(at).toObject()["body"].toObject()["summary"].toString();
  };

  ASSERT_TRUE(session.restart()) << session.failure();
  ASSERT_TRUE(
      waitUntil([&] { return starts().size() == 1 && !pings(session.sites).isEmpty(); }, 60s))
      << session.program.output().data();
  EXPECT_TRUE(summaryOf(starts(), 0).contains(QStringLiteral("沒有上次執行的紀錄")))
      << summaryOf(starts(), 0).toStdString();
  for (const QString& path : QStringList{ini} + journalFiles(session)) {
    EXPECT_TRUE(ownersAlone(path)) << path.toStdString();
  }
  // A ping at the start and one a minute later, each saying how the watch stands.
  ASSERT_TRUE(waitUntil([&] { return pings(session.sites).size() >= 2; }, 100s));
  for (const auto& ping : pings(session.sites)) {
    EXPECT_EQ(ping.toObject()["path"].toString(), "/ping/abc");
    EXPECT_TRUE(ping.toObject()["type"].toString().startsWith("text/plain"));
    EXPECT_TRUE(ping.toObject()["text"].toString().contains(QStringLiteral("監看")));
  }

  // The end is told before the program is gone.
  ASSERT_TRUE(session.showConsole()) << session.failure();
  ASSERT_TRUE(session.endFromFileMenu()) << session.failure();
  ASSERT_TRUE(session.program.waitForExit(20s));
  const QJsonArray endings = postsOfKind(webhookPosts(session.sites), "program-ending");
  ASSERT_EQ(endings.size(), 1);
  EXPECT_EQ(endings.at(0).toObject()["answer"].toString(), "accepted");
  EXPECT_TRUE(summaryOf(endings, 0).contains(QStringLiteral("結束程式")))
      << summaryOf(endings, 0).toStdString();

  ASSERT_TRUE(session.restart()) << session.failure();
  ASSERT_TRUE(waitUntil([&] { return starts().size() == 2; }, 60s));
  EXPECT_TRUE(summaryOf(starts(), 1).contains(QStringLiteral("正常結束")) &&
              !summaryOf(starts(), 1).contains(QStringLiteral("沒有正常結束")))
      << summaryOf(starts(), 1).toStdString();

  session.stop();  // the power fails
  ASSERT_TRUE(session.restart()) << session.failure();
  ASSERT_TRUE(waitUntil([&] { return starts().size() == 3; }, 60s));
  EXPECT_TRUE(summaryOf(starts(), 2).contains(QStringLiteral("沒有正常結束")))
      << summaryOf(starts(), 2).toStdString();
}
