#include "common/remote/run_record.h"

#include "common/journal/journal.h"
#include "common/settings/settings.h"

namespace tidex {
namespace {

const QString kSection = QStringLiteral("run");
const QString kFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QDateTime readTime(const QString& key) {
  return QDateTime::fromString(ReadSetting(kSection, key, QString()).trimmed(), kFormat);
}

QString momentText(const QDateTime& moment) {
  return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// "14 小時 5 分", "3 天 2 小時", "不到 1 分".
QString spanText(qint64 seconds) {
  const qint64 minutes = seconds / 60;
  if (minutes < 1) return QStringLiteral("不到 1 分");
  const qint64 days = minutes / (24 * 60);
  const qint64 hours = minutes / 60 % 24;
  if (days > 0) return QStringLiteral("%1 天 %2 小時").arg(days).arg(hours);
  if (hours > 0) return QStringLiteral("%1 小時 %2 分").arg(hours).arg(minutes % 60);
  return QStringLiteral("%1 分").arg(minutes);
}

}  // namespace

bool LastRun::inOrder() const {
  return ended.isValid() && (!started.isValid() || ended >= started) &&
         (!lastEntry.isValid() || ended >= lastEntry);
}

QString LastRun::sentence(const QDateTime& now) const {
  if (!started.isValid()) return QStringLiteral("沒有上次執行的紀錄。");
  if (inOrder()) {
    return QStringLiteral("上次執行於 %1 正常結束，已停止 %2。")
        .arg(momentText(ended), spanText(ended.secsTo(now)));
  }
  // The last sign of life: its newest entry, or its start.
  QDateTime seen = started;
  if (lastEntry.isValid() && lastEntry > seen) seen = lastEntry;
  if (ended.isValid() && ended > seen) seen = ended;
  return QStringLiteral(
             "上次執行沒有正常結束（電腦關機、當機或程式被強制結束）；最後的紀錄在 %1，"
             "至今 %2。")
      .arg(momentText(seen), spanText(seen.secsTo(now)));
}

LastRun RecallLastRun(Journal& journal) {
  LastRun run;
  run.started = readTime(QStringLiteral("started"));
  run.ended = readTime(QStringLiteral("ended"));
  if (const auto newest = journal.newestTime()) {
    run.lastEntry = QDateTime::fromString(*newest, kFormat);
  }
  return run;
}

void RecordRunStart(const QDateTime& now) {
  WriteSetting(kSection, QStringLiteral("started"), now.toString(kFormat));
  RemoveSetting(kSection, QStringLiteral("ended"));
}

void RecordRunEnd(const QDateTime& now) {
  WriteSetting(kSection, QStringLiteral("ended"), now.toString(kFormat));
}

}  // namespace tidex
