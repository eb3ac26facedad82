#pragma once

#include <chrono>

#include <QDateTime>
#include <QString>

#include "platform/remote_delivery.h"

namespace tidex {

// How one notification target's deliveries have gone in this run: the last one it took, and
// while it fails, since when, how many tries in a row and why.
struct DeliveryHealth {
  QDateTime lastDelivered;  // invalid: none yet
  QDateTime failingSince;   // invalid: not failing
  int failedTries = 0;      // in a row
  QString lastError;        // a sentence for the user
  bool told = false;        // the user was told it fails
  QDateTime backOffUntil;   // a message it failed is not tried again before this

  bool failing() const { return failingSince.isValid(); }
  void delivered(const QDateTime& now);
  void failed(const QDateTime& now, const QString& error, std::chrono::seconds backOff);
  // "10:05 已送達", "自 10:05 起無法傳送（3 次）：無法連線到伺服器（…）", or nothing yet.
  QString text(const QDateTime& now) const;
};

// What went wrong in a sentence a user reads, the library's or server's own words after it:
// "無法連線到伺服器（Connection refused）".
QString FailureSentence(const DeliveryOutcome& outcome);

}  // namespace tidex
