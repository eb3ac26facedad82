#include "common/journal/journal.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/desktop.h"

namespace tidex {

QString VesselOf(const QString& pageText) {
  return ExtractBetween(pageText, QStringLiteral("船名"), QStringLiteral("船隻"));
}

QString CountsLine(const QString& pageText) {
  const QStringList lines = pageText.split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    if (!line.contains(QStringLiteral("實櫃數")) && !line.contains(QStringLiteral("空櫃數"))) {
      continue;
    }
    // A heading row with its row of numbers beneath: each heading with its number.
    const QStringList headings = line.simplified().split(QLatin1Char(' '));
    const QStringList counts = lines.value(i + 1).simplified().split(QLatin1Char(' '));
    if (headings.size() < 2 || headings.size() != counts.size()) return line.simplified();
    QStringList pairs;
    for (qsizetype k = 0; k < headings.size(); ++k) pairs << headings[k] + u' ' + counts[k];
    return pairs.join(QChar(0x3000));
  }
  return QString();
}

QString ExtractBetween(const QString& text, const QString& begin, const QString& end) {
  const qsizetype a = text.indexOf(begin) + 1;
  const qsizetype b = text.indexOf(end) + 1;
  const qsizetype start = a + 2;  // counted from 1
  const qsizetype length = b - a - 2;
  if (length < 0 || start > text.size()) return QString();
  return text.mid(start - 1, length);
}

void RegistrationMonitor::notifyFinding() {
  console_.journal().pendingNotifications().hold(
      {Caption(), VesselOf(lastPageText_),
       Desktop::current().now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
  notification_.send(*this, {Caption()});
}

// Also a notification left pending by an earlier run, once this number's monitor is open.
void RegistrationMonitor::onNotificationRetry() { notification_.send(*this, {Caption()}); }

}  // namespace tidex
