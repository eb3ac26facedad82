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

// Where a message goes: a mail server, a web address that takes a POST, or an Apprise address.
struct DeliveryTarget {
  enum class Kind { Email, Webhook, Apprise };
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
  bool delivered = false;
  QString detail;  // why not, in a few words, for the settings window's test
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
