// What a hand-edited or hostile notification target cannot make the real program do: log in
// over a plain connection, write a file, carry a post to where a redirect points, or show the
// message and the token to every user on the command line, or leave the token's file behind.
#include <gtest/gtest.h>

#include <thread>

#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>

#include "common/text/text_codec.h"
#include "remote_alerts.h"
#include "smtp_server.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

QByteArray mailTarget(const QByteArray& name, const QByteArray& address) {
  return "[notify " + name + "]\r\naddress=" + address +
         "\r\nfrom=tidex@harbour.test\r\nto=duty@harbour.test\r\nevents=alert\r\n";
}

// Programs started meanwhile (the program and the copy that hands over to it) share a temporary
// folder of the test's own.
class TemporaryFolder {
 public:
  TemporaryFolder() : before_(qgetenv("TMPDIR")) { qputenv("TMPDIR", folder_.path().toUtf8()); }
  ~TemporaryFolder() { qputenv("TMPDIR", before_); }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  QString path() const { return folder_.path(); }
  QString filePath(const QString& name) const { return folder_.filePath(name); }

 private:
  QTemporaryDir folder_;
  QByteArray before_;
};

}  // namespace

// A login over smtp:// without STARTTLS would show the password to the network; a file://
// address would have libcurl write the mail to disk. A third, sound target shows when the tries
// have been made.
TEST(DeliverySafety, HandEditedMailTargetsNeitherLogInInTheClearNorWriteFiles) {
  SmtpServer careless(0, SmtpServer::Security::PlainLogin);
  SmtpServer witness(0);
  ASSERT_TRUE(careless.started() && witness.started());
  QTemporaryDir folder;
  const QString written = folder.filePath("x");
  ConsoleSession session;
  addToSettings(session.home.path(),
                "[notify]\r\nclear=email\r\ndisk=email\r\nsound=email\r\n" +
                    mailTarget("clear", "smtp://127.0.0.1:" + QByteArray::number(careless.port())) +
                    "user=duty\r\nsecret=" + EncodeText(QStringLiteral("s3cret")).toLatin1() +
                    "\r\nkeyring=0\r\nstarttls=0\r\n" +
                    mailTarget("disk", "file://" + written.toUtf8()) +
                    mailTarget("sound", "smtp://127.0.0.1:" + QByteArray::number(witness.port())));
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  raiseWharfAlert(session);

  ASSERT_TRUE(waitUntil([&] { return !witness.mails().isEmpty(); }, 60s))
      << session.program.output().data();
  std::this_thread::sleep_for(5s);
  EXPECT_FALSE(careless.sawLogin()) << "the password never crossed the plain connection";
  EXPECT_TRUE(careless.mails().isEmpty());
  EXPECT_FALSE(QFile::exists(written));
}

// The receiver moves: its 302 is a failed try, tried again later; the post (with its token) never
// goes where the redirect points.
TEST(DeliverySafety, AWebhookRedirectIsNotFollowedAndThePostIsTriedAgain) {
  ConsoleSession session;
  ASSERT_TRUE(session.sites.started());
  addToSettings(
      session.home.path(),
      "[notify]\r\nhook=webhook\r\n[notify hook]\r\naddress=" + session.sites.base().toLatin1() +
          "/hooks/tidex\r\nsecret=" + EncodeText("T0KEN").toLatin1() + "\r\nevents=alert\r\n");
  ASSERT_TRUE(session.sites.control("/_control/webhook/redirect?times=1"));
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  raiseWharfAlert(session);

  ASSERT_TRUE(
      waitUntil([&] { return answered(webhookPosts(session.sites), "redirected") == 1; }, 20s));
  // The first retry comes 30 seconds after the failed try.
  ASSERT_TRUE(
      waitUntil([&] { return answered(webhookPosts(session.sites), "accepted") == 1; }, 50s))
      << session.program.output().data();
  std::this_thread::sleep_for(3s);
  const QJsonArray posts = webhookPosts(session.sites);
  EXPECT_EQ(answered(posts, "elsewhere"), 0) << "nothing reached the redirect's target";
  EXPECT_EQ(answered(posts, "redirected"), 1);
  EXPECT_EQ(answered(posts, "accepted"), 1);
  EXPECT_EQ(posts.last().toObject()["authorization"].toString(), "Bearer T0KEN");
}

// The stand-in apprise records what it was given and then hangs, so that the program is ended
// while the try is under way.
TEST(DeliverySafety, AppriseGetsTheMessageOnItsInputAndTheTokenFileNeverOutlivesTheProgram) {
  QTemporaryDir bin;
  TemporaryFolder temporary;
  const auto recorded = [&](const char* name) { return bin.filePath(QString::fromLatin1(name)); };
  {
    QFile standIn(bin.filePath("apprise"));
    ASSERT_TRUE(standIn.open(QIODevice::WriteOnly));
    const QByteArray dir = bin.path().toUtf8();
    standIn.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + dir + "/argv'\ncat > '" + dir +
                  "/stdin'\nconfig=\"${1#--config=}\"\ncat \"$config\" > '" + dir +
                  "/config'\nstat -c %a \"$config\" > '" + dir + "/mode'\necho $$ > '" + dir +
                  "/pid'\nexec sleep 60\n");
    standIn.setPermissions(standIn.permissions() | QFileDevice::ExeOwner);
  }
  // Files of an earlier run: one whose program has ended, one whose program still runs.
  QProcess ended;
  ended.start(QStringLiteral("true"));
  ASSERT_TRUE(ended.waitForStarted(5000));
  const qint64 endedPid = ended.processId();  // 0 once it is known to have finished
  ASSERT_TRUE(ended.waitForFinished(5000));
  const QString stale =
      temporary.filePath(QStringLiteral("tidex-apprise-%1-AbC123.txt").arg(endedPid));
  const QString alive = temporary.filePath(
      QStringLiteral("tidex-apprise-%1-XyZ789.txt").arg(QCoreApplication::applicationPid()));
  for (const QString& path : {stale, alive}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  ConsoleSession session;
  session.program.setVariable("PATH", bin.path() + ':' + qEnvironmentVariable("PATH"));
  addToSettings(session.home.path(), "[notify]\r\nphone=apprise\r\n[notify phone]\r\nsecret=" +
                                         EncodeText("ntfy://tidex-duty").toLatin1() +
                                         "\r\nevents=alert\r\n");
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  EXPECT_FALSE(QFile::exists(stale)) << "a run that ended leaves nothing for long";
  EXPECT_TRUE(QFile::exists(alive)) << "a running copy's file is its own";
  raiseWharfAlert(session);

  ASSERT_TRUE(waitUntil([&] { return !readFile(recorded("pid")).isEmpty(); }, 20s));
  const QString argv = QString::fromUtf8(readFile(recorded("argv")));
  const QString input = QString::fromUtf8(readFile(recorded("stdin")));
  EXPECT_EQ(argv.count('\n'), 1) << "one argument, the configuration file: " << argv.toStdString();
  EXPECT_TRUE(argv.startsWith("--config=" + temporary.path() + "/tidex-apprise-"))
      << argv.toStdString();
  EXPECT_FALSE(argv.contains("1108") || argv.contains("ntfy") || argv.contains("HARMONY"));
  EXPECT_TRUE(input.startsWith(QStringLiteral("Tidex 變更：1108\n"))) << input.toStdString();
  EXPECT_TRUE(input.contains(kAlertLine)) << input.toStdString();
  EXPECT_EQ(readFile(recorded("config")), "ntfy://tidex-duty\n");
  EXPECT_EQ(readFile(recorded("mode")).trimmed(), "600");

  session.program.terminate();  // as at log-out, while apprise still runs
  EXPECT_TRUE(session.program.waitForExit(20s));
  ::kill(readFile(recorded("pid")).trimmed().toInt(), SIGKILL);
  EXPECT_EQ(QDir(temporary.path())
                .entryList({QStringLiteral("tidex-apprise-*")}, QDir::Files)
                .join(' ')
                .toStdString(),
            QFileInfo(alive).fileName().toStdString());
}
