#pragma once

#include <optional>
#include <set>
#include <vector>

#include <QString>
#include <QTime>

#include "common/remote/remote_event.h"
#include "platform/remote_delivery.h"

namespace tidex {

// A time of day when a target is told nothing of some kinds of event (all when none is named).
// It may run past midnight: 22:00-07:00.
struct QuietPeriod {
  QTime start;
  QTime end;
  std::set<RemoteEventGroup> groups;
  bool holds(const QTime& time, RemoteEventGroup group) const;
  QString text() const;  // "22:00-07:00"
  // "22:00-07:00" (blanks allowed); nothing for anything else.
  static std::optional<QuietPeriod> parse(const QString& text);
};

// A remote notification target as Tidex.ini keeps it: the section notify lists the targets
// (name=kind: email, webhook, apprise or heartbeat) and a section "notify NAME" holds each one's
// keys. A heartbeat takes no events: it is pinged while the program runs.
struct RemoteTarget {
  QString name;
  DeliveryTarget delivery;
  std::set<RemoteEventGroup> events;
  std::optional<QuietPeriod> quiet;
  // When it gets the day before in one message ("08:00"); empty: never.
  QString summary;
  // A heartbeat's period in minutes (1 to 60), and what goes after its address when something
  // is wrong ("/fail").
  int everyMinutes = 5;
  QString failSuffix;
  std::optional<QTime> summaryTime() const;
  // The secret is in the desktop's keyring under SecretKey(name), not in Tidex.ini; it is not
  // in delivery until read from there.
  bool secretInKeyring = false;
  // False while the secret kept in the keyring has not been read: the read is pending or failed.
  bool secretKnown = true;
  // The password or token; an Apprise address is one, as it holds its service's token.
  QString secret() const;
  void setSecret(const QString& secret);
  // Whether the address is the secret: an Apprise address, a heartbeat's ping address.
  bool addressIsSecret() const;
  // All of the target that is kept as a secret, in one text for the keyring or the file: the
  // password or token; for a webhook also its address and headers, which often hold one.
  QString keptSecret() const;
  void takeKeptSecret(const QString& kept);
  // Whether an event of the kind happening at this time is sent to it.
  bool wants(RemoteEventKind kind, const QTime& time) const;
};

QString KindKey(DeliveryTarget::Kind kind);
// The key of a target's secret in the desktop's keyring.
QString SecretKey(const QString& name);  // "email", "webhook", "apprise", "heartbeat"
QString KindLabel(DeliveryTarget::Kind kind);

// Every target of the settings file, in file order. The secrets come from where they are kept.
std::vector<RemoteTarget> ReadRemoteTargets();
// Whether the settings file names any target: one read of the file, nothing else.
bool AnyRemoteTarget();
// What is wrong with the target, in a sentence for the user; nothing when it can be kept and
// used. The same check holds for a target typed in the settings window and one read from the file.
std::optional<QString> CheckRemoteTarget(const RemoteTarget& target);
// Keeps a target (replacing the one of its name); false when the file could not be written or
// its secret cannot be stored as typed. Unless the target's secret is in the keyring, the kept
// secret goes into the file, encoded as the IMCT account is (which hides it from a glance and
// protects nothing: the file is its owner's alone).
bool WriteRemoteTarget(const RemoteTarget& target);
// Removes the target's whole section and its line in the list.
bool RemoveRemoteTarget(const QString& name);

}  // namespace tidex
