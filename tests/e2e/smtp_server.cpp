#include "smtp_server.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>

namespace tidex::e2e {
namespace {

// With a login, a mail is taken only after duty / s3cret; every login begun leaves the file
// login-seen.
constexpr auto kSmtpServer = R"(
import email, email.policy, os, ssl, sys, threading
from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword
port, folder, refusals, security, cert, refusal = sys.argv[1:7]
port, refusals = int(port), int(refusals)
class Mailbox:
    seen = 0
    kept = 0
    async def handle_DATA(self, server, session, envelope):
        Mailbox.seen += 1
        open(os.path.join(folder, 'try-%03d' % Mailbox.seen), 'w').close()
        if Mailbox.seen <= refusals:
            return refusal
        mail = email.message_from_bytes(envelope.content, policy=email.policy.default)
        Mailbox.kept += 1
        name = os.path.join(folder, '%03d.txt' % Mailbox.kept)
        with open(name + '.part', 'w', encoding='utf-8') as f:
            f.write('\n'.join([str(mail['Subject']), str(mail['Message-ID']),
                               ' '.join(envelope.rcpt_tos), mail.get_content()]))
        os.rename(name + '.part', name)  # whole, or not there
        return '250 OK'
def login(server, session, envelope, mechanism, data):
    open(os.path.join(folder, 'login-seen'), 'w').close()
    return AuthResult(success=isinstance(data, LoginPassword) and
                      (data.login, data.password) == (b'duty', b's3cret'))
options = {}
if security == 'plainlogin':
    options = dict(authenticator=login, auth_required=True, auth_require_tls=False)
elif security != 'plain':
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

const char* modeOf(SmtpServer::Security security) {
  switch (security) {
    case SmtpServer::Security::Plain:
      return "plain";
    case SmtpServer::Security::PlainLogin:
      return "plainlogin";
    case SmtpServer::Security::StartTls:
      return "starttls";
    case SmtpServer::Security::Tls:
      return "tls";
  }
  return "plain";
}

}  // namespace

SmtpServer::SmtpServer(int refusals, Security security, Refusal refusal) {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  port_ = probe.serverPort();
  probe.close();
  if (security == Security::StartTls || security == Security::Tls) {
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
      {QStringLiteral("-c"), QString::fromUtf8(kSmtpServer), QString::number(port_), mails_.path(),
       QString::number(refusals), QString::fromLatin1(modeOf(security)), mails_.path(),
       refusal == Refusal::ForGood ? QStringLiteral("550 5.1.1 mailbox unavailable")
                                   : QStringLiteral("451 4.3.0 try again later")});
  started_ = process_.waitForReadyRead(10000) && process_.readAll().contains("ready");
}

SmtpServer::~SmtpServer() {
  process_.kill();
  process_.waitForFinished(3000);
}

QStringList SmtpServer::mails() const {
  QStringList mails;
  for (const QString& name :
       QDir(mails_.path()).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
    QFile file(mails_.filePath(name));
    if (file.open(QIODevice::ReadOnly)) mails << QString::fromUtf8(file.readAll());
  }
  return mails;
}

int SmtpServer::tries() const {
  return static_cast<int>(
      QDir(mails_.path()).entryList({QStringLiteral("try-*")}, QDir::Files).size());
}

bool SmtpServer::sawLogin() const {
  return QFile::exists(mails_.filePath(QStringLiteral("login-seen")));
}

}  // namespace tidex::e2e
