#pragma once

#include <functional>

#include <QDateTime>
#include <QString>

namespace tidex {

class ConsoleState;
struct MonitorStatus;

// Whether a monitor still reads what it watches. The monitor reports each good read and each
// failed one, and closes each of its periods (a reload, a query); a monitor that had no good
// read for `periodsToBlind` periods in a row is blind: the journal gets one row, the desktop
// one notification, and the window's line says why and since when. The first good read after
// that is recorded once more. Nothing beeps and no box opens.
class ReadHealth final {
 public:
  // subject: what could not be read, the start of the line ("無法讀取看板").
  ReadHealth(ConsoleState& console, const char* journalKind, QString subject, int periodsToBlind);

  // The window's caption at the time of a report (it may change after construction).
  std::function<QString()> caption;
  // The line to show in the window: empty while the monitor reads.
  std::function<void(const QString& line)> onLineChanged;

  // What was read made sense: the page compared, the query answered.
  void goodRead();
  // A read failed, for this reason ("HTTP 500", "無法連線" …); the last reason is the one told.
  void failedRead(const QString& reason);
  // A period ended (before the next reload or query): without a good read in it, it counts.
  // noAnswerReason: said when nothing at all was reported in the period.
  void periodEnded(const QString& noAnswerReason);

  bool blind() const { return blind_; }
  const QDateTime& blindSince() const { return firstFailure_; }
  const QDateTime& lastGoodRead() const { return lastGood_; }
  // "無法讀取看板：HTTP 500 (自 14:02)" while blind, else empty.
  QString line() const;
  // Its part of a monitor's status: the last good read and, while blind, the line and since
  // when; a monitor otherwise watching is Blind.
  void describe(MonitorStatus& status) const;

 private:
  void becomeBlind();

  ConsoleState& console_;
  const char* journalKind_;
  QString subject_;
  int periodsToBlind_;
  int failedPeriods_ = 0;
  bool readInPeriod_ = false;
  bool reportInPeriod_ = false;
  bool blind_ = false;
  QString reason_;
  QDateTime firstFailure_;
  QDateTime lastGood_;
  QDateTime periodStart_;
};

}  // namespace tidex
