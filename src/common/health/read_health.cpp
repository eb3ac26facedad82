#include "common/health/read_health.h"

#include <utility>

#include "common/alerting/desktop_notice.h"
#include "common/console_state.h"
#include "common/health/monitor_status.h"
#include "common/journal/journal.h"
#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex {

ReadHealth::ReadHealth(ConsoleState& console, const char* journalKind, QString subject,
                       int periodsToBlind)
    : console_(console),
      journalKind_(journalKind),
      subject_(std::move(subject)),
      periodsToBlind_(periodsToBlind),
      periodStart_(Desktop::current().now()) {}

void ReadHealth::goodRead() {
  const QDateTime now = Desktop::current().now();
  lastGood_ = now;
  readInPeriod_ = true;
  failedPeriods_ = 0;
  if (blind_) {
    blind_ = false;
    const qint64 minutes = firstFailure_.secsTo(now) / 60;
    console_.journal().record(caption ? caption() : QString(), journalKind_,
                              journal::event::kReadsAgain,
                              QStringLiteral("恢復讀取（中斷 %1 分鐘）").arg(minutes));
    if (onLineChanged) onLineChanged(QString());
  }
  firstFailure_ = QDateTime();
  reason_.clear();
}

void ReadHealth::failedRead(const QString& reason) {
  reason_ = reason;
  reportInPeriod_ = true;
  if (!firstFailure_.isValid()) firstFailure_ = Desktop::current().now();
  if (blind_ && onLineChanged) onLineChanged(line());
}

void ReadHealth::periodEnded(const QString& noAnswerReason) {
  const bool read = readInPeriod_;
  const bool reported = reportInPeriod_;
  readInPeriod_ = false;
  reportInPeriod_ = false;
  const QDateTime start = std::exchange(periodStart_, Desktop::current().now());
  if (read) return;
  if (!reported) {
    // Nothing answered all period: it has failed since the period began.
    if (!firstFailure_.isValid()) firstFailure_ = start;
    failedRead(noAnswerReason);
  }
  if (++failedPeriods_ >= periodsToBlind_ && !blind_) becomeBlind();
}

QString ReadHealth::line() const {
  if (!blind_) return QString();
  return subject_ + QStringLiteral("：") + reason_ + QStringLiteral(" (自 ") +
         firstFailure_.toString(QStringLiteral("HH:mm")) + QLatin1Char(')');
}

void ReadHealth::describe(MonitorStatus& status) const {
  status.lastGoodRead = lastGood_;
  if (!blind_) return;
  if (status.state == MonitorStatus::State::Watching) status.state = MonitorStatus::State::Blind;
  status.blindLine = line();
  status.blindSince = firstFailure_;
}

void ReadHealth::becomeBlind() {
  blind_ = true;
  const QString text = line();
  const QString title = caption ? caption() : QString();
  console_.journal().record(title, journalKind_, journal::event::kBlind, text);
  NotifyDesktop(console_, title, text);
  if (onLineChanged) onLineChanged(text);
}

}  // namespace tidex
