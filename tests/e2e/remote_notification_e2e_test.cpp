// Alerts reach the user away from the desk: the real program mails a local SMTP server and
// posts to tidex-sites' webhook receiver, each once, however the receiver fails at first and
// when the program is restarted while a send is pending.
#include <gtest/gtest.h>

#include <thread>

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include "common/text/text_codec.h"
#include "remote_alerts.h"
#include "smtp_server.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

TEST(ProgramEndToEnd, AnAlertIsMailedOnceAlthoughTheMailServerRefusedTheFirstTry) {
  SmtpServer smtp(1);
  ASSERT_TRUE(smtp.started());
  ConsoleSession session;
  addToSettings(session.home.path(),
                "[notify]\r\nphone=email\r\n[notify phone]\r\naddress=smtp://127.0.0.1:" +
                    QByteArray::number(smtp.port()) +
                    "\r\nfrom=tidex@harbour.test\r\nto=duty@harbour.test;night@harbour.test\r\n"
                    "events=alert\r\n");
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  raiseWharfAlert(session);

  ASSERT_TRUE(waitUntil([&] { return !smtp.mails().isEmpty(); }, 60s))
      << session.program.output().data();
  std::this_thread::sleep_for(10s);  // nothing more comes
  const QStringList mails = smtp.mails();
  ASSERT_EQ(mails.size(), 1);
  const QStringList lines = mails[0].split('\n');
  EXPECT_EQ(lines[0], QStringLiteral("Tidex 變更：1108"));
  EXPECT_TRUE(lines[1].endsWith("@tidex.invalid>")) << lines[1].toStdString();
  EXPECT_EQ(lines[2], "duty@harbour.test night@harbour.test");
  EXPECT_TRUE(mails[0].contains(kAlertLine)) << mails[0].toStdString();
}

// Mail servers that take mail only over TLS and after a login, one from the first byte
// (smtps://), one after STARTTLS; each has a certificate of its own, named in the settings.
TEST(ProgramEndToEnd, AnAlertIsMailedOverTlsAndStartTlsAfterTheLogin) {
  SmtpServer tls(0, SmtpServer::Security::Tls);
  SmtpServer startTls(0, SmtpServer::Security::StartTls);
  ASSERT_TRUE(tls.started() && startTls.started());
  ConsoleSession session;
  const auto target = [](const QByteArray& name, const QByteArray& address, bool upgrade,
                         const SmtpServer& server) {
    return "[notify " + name + "]\r\naddress=" + address + QByteArray::number(server.port()) +
           "\r\nuser=duty\r\nsecret=" + EncodeText(QStringLiteral("s3cret")).toLatin1() +
           "\r\nkeyring=0\r\nstarttls=" + (upgrade ? "1" : "0") +
           "\r\ncertificate=" + server.certificateFile().toUtf8() +
           "\r\nfrom=tidex@harbour.test\r\nto=duty@harbour.test\r\nevents=alert\r\n";
  };
  addToSettings(session.home.path(), "[notify]\r\noffice=email\r\nrelay=email\r\n" +
                                         target("office", "smtps://127.0.0.1:", false, tls) +
                                         target("relay", "smtp://127.0.0.1:", true, startTls));
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  raiseWharfAlert(session);

  for (const SmtpServer* server : {&tls, &startTls}) {
    ASSERT_TRUE(waitUntil([&] { return !server->mails().isEmpty(); }, 60s))
        << session.program.output().data();
    EXPECT_EQ(server->mails().size(), 1);
    EXPECT_TRUE(server->mails().value(0).contains(kAlertLine));
  }
  EXPECT_FALSE(session.program.output().contains("s3cret")) << "a secret is never logged";
}

TEST(ProgramEndToEnd, AWebhookPostPendingAcrossARestartIsTakenExactlyOnce) {
  ConsoleSession session;
  ASSERT_TRUE(session.sites.started());
  addToSettings(
      session.home.path(),
      "[notify]\r\nhook=webhook\r\n[notify hook]\r\naddress=" + session.sites.base().toLatin1() +
          "/hooks/tidex\r\nsecret=" + EncodeText("T0KEN").toLatin1() +
          "\r\nheader1=X-Port: KHH\r\nevents=alert\r\n");
  ASSERT_TRUE(session.sites.control("/_control/webhook/fail?times=1000"));
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  raiseWharfAlert(session);
  ASSERT_TRUE(waitUntil([&] { return answered(webhookPosts(session.sites), "failed") >= 1; }, 20s));
  session.stop();
  const QJsonObject failed = webhookPosts(session.sites)[0].toObject();
  EXPECT_EQ(failed["authorization"].toString(), "Bearer T0KEN");

  ASSERT_TRUE(session.sites.control("/_control/webhook/fail?times=0"));
  ASSERT_TRUE(session.restart()) << session.failure();
  ASSERT_TRUE(
      waitUntil([&] { return answered(webhookPosts(session.sites), "accepted") >= 1; }, 90s))
      << session.program.output().data();
  std::this_thread::sleep_for(10s);  // nothing more comes
  const QJsonArray posts = webhookPosts(session.sites);
  EXPECT_EQ(answered(posts, "accepted"), 1);
  EXPECT_EQ(answered(posts, "repeat"), 0);
  for (const auto& post : posts) {
    EXPECT_EQ(post.toObject()["key"].toString(), failed["key"].toString()) << "one id on every try";
  }
  const QJsonObject body = posts.last().toObject()["body"].toObject();
  EXPECT_EQ(body["kind"].toString(), "alert");
  EXPECT_EQ(body["caption"].toString(), "1108");
  EXPECT_EQ(body["summary"].toString(), kAlertLine);
  EXPECT_EQ(body["id"].toString(), failed["key"].toString()) << "the key is the body's id";
  // The board's lines as the page showed them, as the change log shows them.
  EXPECT_TRUE(body["before"].toString().contains("14:30"))
      << body["before"].toString().toStdString();
  EXPECT_FALSE(body["before"].toString().contains('\t'));
}

// The apprise command is a stand-in of the test's that records what it was given.
TEST(ProgramEndToEnd, AnAlertForAnAppriseAddressGoesThroughTheAppriseCommand) {
  QTemporaryDir bin;
  const QString record = bin.filePath("apprise-calls.txt");
  {
    QFile standIn(bin.filePath("apprise"));
    ASSERT_TRUE(standIn.open(QIODevice::WriteOnly));
    standIn.write(
        "#!/bin/sh\n{ for a in \"$@\"; do case \"$a\" in --config=*) printf 'URLS=%s\\n' "
        "\"$(cat \"${a#--config=}\")\";; *) printf 'ARG=%s\\n' \"$a\";; esac; done; "
        "printf 'STDIN=%s\\n' \"$(cat)\"; } >> '" +
        record.toUtf8() + "'\n");
    standIn.setPermissions(standIn.permissions() | QFileDevice::ExeOwner);
  }
  ConsoleSession session;
  session.program.setVariable("PATH", bin.path() + ':' + qEnvironmentVariable("PATH"));
  addToSettings(session.home.path(), "[notify]\r\nphone=apprise\r\n[notify phone]\r\nsecret=" +
                                         EncodeText("ntfy://tidex-duty").toLatin1() +
                                         "\r\nevents=alert\r\n");
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  raiseWharfAlert(session);

  ASSERT_TRUE(waitUntil([&] { return QFile::exists(record); }, 20s));
  std::this_thread::sleep_for(3s);
  const QString calls = QString::fromUtf8(readFile(record));
  EXPECT_EQ(calls.count("URLS="), 1) << calls.toStdString();
  EXPECT_TRUE(calls.contains("URLS=ntfy://tidex-duty\n"));
  EXPECT_TRUE(calls.contains("STDIN=Tidex 變更：1108\n")) << "the subject leads the message";
  EXPECT_TRUE(calls.contains(kAlertLine)) << calls.toStdString();
  EXPECT_FALSE(calls.contains("ARG=ntfy://")) << "the token stays off the command line";
}
