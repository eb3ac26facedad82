// Alerts reach the user away from the desk: the real program mails a local SMTP server and
// posts to tidex-sites' webhook receiver, each once, however the receiver fails at first and
// when the program is restarted while a send is pending.
#include <gtest/gtest.h>

#include <thread>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>

#include "common/text_codec.h"
#include "console_session.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kAlertLine = QStringLiteral("YM HARMONY　抵港時間 14:30 → 23:45");

// An SMTP server on loopback (aiosmtpd) that answers the first `refusals` mails with 451 and
// writes each mail it takes to a file of its own: subject, Message-ID, recipients, text. With a
// certificate it takes mail over TLS (from the first byte, or after STARTTLS) and only after the
// login duty / s3cret.
constexpr auto kSmtpServer = R"(
import email, email.policy, os, ssl, sys, threading
from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword
port, folder, refusals, security, cert = sys.argv[1:6]
port, refusals = int(port), int(refusals)
class Mailbox:
    seen = 0
    kept = 0
    async def handle_DATA(self, server, session, envelope):
        Mailbox.seen += 1
        if Mailbox.seen <= refusals:
            return '451 4.3.0 try again later'
        mail = email.message_from_bytes(envelope.content, policy=email.policy.default)
        Mailbox.kept += 1
        name = os.path.join(folder, '%03d.txt' % Mailbox.kept)
        with open(name + '.part', 'w', encoding='utf-8') as f:
            f.write('\n'.join([str(mail['Subject']), str(mail['Message-ID']),
                               ' '.join(envelope.rcpt_tos), mail.get_content()]))
        os.rename(name + '.part', name)  # whole, or not there
        return '250 OK'
def login(server, session, envelope, mechanism, data):
    return AuthResult(success=isinstance(data, LoginPassword) and
                      (data.login, data.password) == (b'duty', b's3cret'))
options = {}
if security != 'plain':
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert + '/cert.pem', cert + '/key.pem')
    options = dict(authenticator=login, auth_required=True)
    if security == 'tls':
        options.update(ssl_context=context, auth_require_tls=False)
    else:
        options.update(tls_context=context, require_starttls=True)
Controller(Mailbox(), hostname='127.0.0.1', port=port, **options).start()
print('ready', flush=True)
threading.Event().wait()
)";

class SmtpServer {
 public:
  // Plain: no TLS, no login. StartTls and Tls: a certificate of its own for 127.0.0.1
  // (certificateFile()), a login required.
  enum class Security { Plain, StartTls, Tls };

  explicit SmtpServer(int refusals, Security security = Security::Plain) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    port_ = probe.serverPort();
    probe.close();
    const char* mode = security == Security::Tls        ? "tls"
                       : security == Security::StartTls ? "starttls"
                                                        : "plain";
    if (security != Security::Plain) {
      QProcess openssl;
      openssl.setProcessChannelMode(QProcess::MergedChannels);
      openssl.start(QStringLiteral("openssl"),
                    {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                     "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout",
                     mails_.filePath("key.pem"), "-out", certificateFile()});
      if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) return;
    }
    // Debian's own Python, which has the aiosmtpd package.
    process_.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"), QString::fromUtf8(kSmtpServer), QString::number(port_),
         mails_.path(), QString::number(refusals), QString::fromLatin1(mode), mails_.path()});
    started_ = process_.waitForReadyRead(10000) && process_.readAll().contains("ready");
  }
  ~SmtpServer() {
    process_.kill();
    process_.waitForFinished(3000);
  }
  bool started() const { return started_; }
  int port() const { return port_; }
  QString certificateFile() const { return mails_.filePath(QStringLiteral("cert.pem")); }
  QStringList mails() const {
    QStringList mails;
    for (const QString& name :
         QDir(mails_.path()).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
      QFile file(mails_.filePath(name));
      if (file.open(QIODevice::ReadOnly)) mails << QString::fromUtf8(file.readAll());
    }
    return mails;
  }

 private:
  QTemporaryDir mails_;
  QProcess process_;
  int port_ = 0;
  bool started_ = false;
};

void addToSettings(const QString& home, const QByteArray& lines) {
  QFile ini(home + QStringLiteral("/Tidex.ini"));
  ASSERT_TRUE(ini.open(QIODevice::Append));
  ini.write(lines);
}

// The wharf monitor on 1108 takes its baseline; the board then moves the arrival: an alert.
void raiseWharfAlert(ConsoleSession& session) {
  ASSERT_TRUE(session.clickConsole("push button", QStringLiteral("碼頭")));
  ASSERT_TRUE(waitUntil(
      [&] { return session.sites.requestLog().filter("/sdci/UA1006.ASP").size() >= 2; }, 30s))
      << session.program.output().data();
  ASSERT_TRUE(
      session.sites.control("/_control/board/time?wharf=1108&vessel=YM%20HARMONY&time=23:45"));
  ASSERT_TRUE(waitUntil([&] { return !session.journalSummaries("alert").isEmpty(); }, 80s));
  ASSERT_EQ(session.journalSummaries("alert"), QStringList{kAlertLine});
}

QJsonArray webhookPosts(const SitesRunner& sites) {
  return QJsonDocument::fromJson(httpGet(sites.base() + "/_control/webhook/posts")).array();
}

int answered(const QJsonArray& posts, const QString& answer) {
  int count = 0;
  for (const auto& post : posts) count += post.toObject()["answer"].toString() == answer;
  return count;
}

}  // namespace

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
          "\r\nheader1=X-Port: KHH\r\n");
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
  EXPECT_TRUE(body["before"].toString().contains("1430"));
}

// The apprise command is a stand-in of the test's that records what it was given.
TEST(ProgramEndToEnd, AnAlertForAnAppriseAddressGoesThroughTheAppriseCommand) {
  QTemporaryDir bin;
  const QString record = bin.filePath("apprise-calls.txt");
  {
    QFile standIn(bin.filePath("apprise"));
    ASSERT_TRUE(standIn.open(QIODevice::WriteOnly));
    standIn.write(
        "#!/bin/sh\nfor a in \"$@\"; do case \"$a\" in --config=*) printf 'URLS=%s\\n' "
        "\"$(cat \"${a#--config=}\")\";; *) printf 'ARG=%s\\n' \"$a\";; esac; done >> '" +
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
  EXPECT_TRUE(calls.contains("ARG=Tidex 變更：1108\n"));
  EXPECT_TRUE(calls.contains(kAlertLine)) << calls.toStdString();
  EXPECT_FALSE(calls.contains("ARG=ntfy://")) << "the token stays off the command line";
}
