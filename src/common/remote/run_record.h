#pragma once

#include <QDateTime>
#include <QString>

namespace tidex {

class Journal;

// When the program last started and ended, kept in Tidex.ini (section run) once a notification
// target is set, so that the next start can say how the last run ended.
struct LastRun {
  QDateTime started;    // invalid: never recorded
  QDateTime ended;      // invalid: no end was recorded
  QDateTime lastEntry;  // the journal's newest entry
  // It ended in order: an end was recorded, after its start and after anything it journalled.
  bool inOrder() const;
  // "上次執行於 12/08 18:00 正常結束，已停止 14 小時 5 分。", or what is known of a run that did
  // not.
  QString sentence(const QDateTime& now) const;
};

LastRun RecallLastRun(Journal& journal);
void RecordRunStart(const QDateTime& now);
void RecordRunEnd(const QDateTime& now);

}  // namespace tidex
