#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace tidex::e2e {

// An SMTP server on loopback (aiosmtpd) that refuses the first `refusals` mails (451, or 550 for
// good) and writes each mail it takes to a file of its own: subject, Message-ID, recipients, text.
class SmtpServer {
 public:
  // Plain: no TLS, no login. PlainLogin: no TLS, yet it offers a login (duty / s3cret) and takes
  // mail only after one, as a careless server does. StartTls and Tls: a certificate of its own
  // for 127.0.0.1 (certificateFile()), a login required, over TLS from the first byte or after
  // STARTTLS.
  enum class Security { Plain, PlainLogin, StartTls, Tls };
  // How a refused mail is answered: "451 4.3.0 try again later", or
  // "550 5.1.1 mailbox unavailable", which no later try changes.
  enum class Refusal { Later, ForGood };

  explicit SmtpServer(int refusals, Security security = Security::Plain,
                      Refusal refusal = Refusal::Later);
  ~SmtpServer();
  SmtpServer(const SmtpServer&) = delete;
  SmtpServer& operator=(const SmtpServer&) = delete;

  bool started() const { return started_; }
  int port() const { return port_; }
  QString certificateFile() const { return mails_.filePath(QStringLiteral("cert.pem")); }
  QStringList mails() const;
  // How many mails a client has sent, taken or refused.
  int tries() const;
  // Whether a client has begun a login (AUTH), whatever came of it.
  bool sawLogin() const;

 private:
  QTemporaryDir mails_;
  QProcess process_;
  int port_ = 0;
  bool started_ = false;
};

}  // namespace tidex::e2e
