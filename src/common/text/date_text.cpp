#include "common/text/date_text.h"

namespace tidex {

QString TimeText(const QDateTime& moment) {
  return moment.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString GeneralDateText(const QDateTime& moment) {
  const QTime t = moment.time();
  const int hour12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
  return moment.date().toString(QStringLiteral("yyyy/M/d")) + QLatin1Char(' ') +
         (t.hour() < 12 ? QStringLiteral("上午") : QStringLiteral("下午")) +
         QStringLiteral(" %1:%2:%3")
             .arg(hour12, 2, 10, QLatin1Char('0'))
             .arg(t.minute(), 2, 10, QLatin1Char('0'))
             .arg(t.second(), 2, 10, QLatin1Char('0'));
}

QString MomentText(const QDateTime& moment, const QDateTime& now, const QString& timeFormat) {
  if (!moment.isValid()) return QString();
  if (moment.date() == now.date()) return moment.toString(timeFormat);
  return moment.toString(QStringLiteral("yyyy/MM/dd ") + timeFormat);
}

}  // namespace tidex
