#pragma once

#include <QDateTime>
#include <QString>

namespace tidex {

// "2015/12/03 14:05:09": four-digit year, the rest two digits each, 24-hour clock.
QString TimeText(const QDateTime& moment);

// The desktop's general date-and-time form for Traditional Chinese: "2026/12/8 上午 10:05:09".
QString GeneralDateText(const QDateTime& moment);

// The time of day in timeFormat, with "yyyy/MM/dd " in front when it is not now's day; empty for
// an invalid moment.
QString MomentText(const QDateTime& moment, const QDateTime& now,
                   const QString& timeFormat = QStringLiteral("HH:mm"));

}  // namespace tidex
