#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace tidex {

class QueuedCall;

// Where a message goes: a mail server, a web address that takes a POST, an Apprise address, or
// a dead-man's switch that takes a ping (a POST of the message's text).
struct DeliveryTarget {
  enum class Kind { Email, Webhook, Apprise, Heartbeat };
  Kind kind = Kind::Webhook;
  // smtp://host:port or smtps://host:port; http(s)://…; tgram://…, ntfy://…
  QString address;
  QString user;    // the mail server's login, when it asks for one
  QString secret;  // its password or the token; never logged
  QString sender;
  QStringList recipients;
  bool startTls = false;  // smtp:// upgraded before the login, refused without it
  // The authority (a PEM file) that signed the mail server's certificate, for a server whose
  // certificate no public authority signed; empty: the system's authorities.
  QString certificateFile;
  QList<QPair<QString, QString>> headers;  // extra headers of the POST
};

// One message, the same on every try.
struct DeliveryMessage {
  QString id;  // lets the receiver drop a repeat: the POST's Idempotency-Key, the Message-ID
  QString subject;
  QString text;
  QByteArray json;  // the webhook's body
};

struct DeliveryOutcome {
  // Why a try failed, as the user is told it.
  enum class Failure {
    None,
    Unreachable,  // no connection: a wrong address, a server down, no network
    Timeout,      // no answer within the limit
    Secure,       // the TLS handshake or the server's certificate failed
    Login,        // the server refused the login
    Refused,      // the server answered with a refusal (an HTTP or SMTP error code)
    Redirect,     // a webhook answered with a redirect, which is never followed
    Unusable,     // the target cannot be sent to as it stands (refused before any connection)
    Other,
  };
  DeliveryOutcome() = default;
  DeliveryOutcome(bool taken, QString words = {}, Failure why = Failure::Other, int reply = 0,
                  bool forGood = false)
      : delivered(taken),
        detail(std::move(words)),
        failure(taken ? Failure::None : why),
        code(reply),
        permanent(forGood) {}

  bool delivered = false;
  QString detail;  // the library's or server's own words, after the sentence
  Failure failure = Failure::None;
  int code = 0;  // the HTTP status or SMTP reply code, when one came
  // The target refuses this message for good (SMTP 5xx, HTTP 4xx but 408 and 429): trying it
  // again with the same target will not help.
  bool permanent = false;
};

// Sends messages off the windows' path: send returns at once and done runs later from the
// dispatch loop, never after the returned call is destroyed.
class RemoteDelivery {
 public:
  virtual ~RemoteDelivery() = default;
  virtual std::unique_ptr<QueuedCall> send(const DeliveryTarget& target,
                                           const DeliveryMessage& message,
                                           std::chrono::milliseconds limit,
                                           std::function<void(DeliveryOutcome)> done) = 0;
  // Whether Apprise addresses can be sent to here (the apprise command is installed).
  virtual bool appriseAvailable() = 0;

 protected:
  RemoteDelivery() = default;
  RemoteDelivery(const RemoteDelivery&) = default;
  RemoteDelivery& operator=(const RemoteDelivery&) = default;
};

}  // namespace tidex
