#include "common/remote/daily_summary.h"

#include <map>

#include "platform/journal_schema.h"

namespace tidex {
namespace {

QString timeOf(const JournalEntry& entry) { return entry.time.mid(11, 5); }  // "HH:mm"

bool is(const JournalEntry& entry, const char* event) {
  return entry.event == QLatin1String(event);
}

// "監看警示 2 次：" and a line per entry.
QString section(const QString& title, const QStringList& lines) {
  if (lines.isEmpty()) return QString();
  return title.arg(lines.size()) + QLatin1Char('\n') + lines.join(QLatin1Char('\n')) +
         QLatin1Char('\n');
}

}  // namespace

DailySummary SummarizeDay(const QDate& day, const std::vector<JournalEntry>& entries,
                          int pendingNotifications) {
  const QString date = day.toString(QStringLiteral("yyyy-MM-dd"));
  QStringList alerts;
  QStringList findings;
  QStringList blind;
  QStringList undelivered;
  std::map<QString, QString> blindSince;  // caption: since
  for (const JournalEntry& entry : entries) {
    const QString line =
        QStringLiteral("%1 %2：%3").arg(timeOf(entry), entry.caption, entry.summary);
    if (is(entry, journal::event::kAlert)) alerts << line;
    if (is(entry, journal::event::kFound)) findings << line;
    if (is(entry, journal::event::kUndelivered))
      undelivered << QStringLiteral("%1 %2").arg(timeOf(entry), entry.summary);
    if (is(entry, journal::event::kBlind)) blindSince[entry.caption] = timeOf(entry);
    if (is(entry, journal::event::kReadsAgain)) {
      const auto since = blindSince.find(entry.caption);
      blind << QStringLiteral("%1–%2 %3")
                   .arg(since == blindSince.end() ? QStringLiteral("00:00") : since->second,
                        timeOf(entry), entry.caption);
      if (since != blindSince.end()) blindSince.erase(since);
    }
  }
  for (const auto& [caption, since] : blindSince) {
    blind << QStringLiteral("%1 起 %2（當日未恢復）").arg(since, caption);
  }

  DailySummary summary;
  summary.subject = QStringLiteral("Tidex 每日摘要：%1").arg(date);
  summary.text = section(QStringLiteral("監看警示 %1 次："), alerts) +
                 section(QStringLiteral("查到准單 %1 筆："), findings) +
                 section(QStringLiteral("無法讀取 %1 段："), blind) +
                 section(QStringLiteral("未送達的通知 %1 則："), undelivered);
  if (pendingNotifications > 0) {
    summary.text += QStringLiteral("待發送的准單通知 %1 則。\n").arg(pendingNotifications);
  }
  if (summary.text.isEmpty()) {
    summary.text = QStringLiteral("%1 沒有警示、准單、無法讀取或未送達的通知。\n").arg(date);
  }
  return summary;
}

}  // namespace tidex
