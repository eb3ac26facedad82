#pragma once

#include <vector>

#include <QDate>
#include <QString>

#include "platform/journal_store.h"

namespace tidex {

// A day as the journal holds it, in one message: the alerts, the findings, the periods a
// monitor could not read, the messages given up, and the findings' notifications still pending
// now. A day with none of it says so in one line.
struct DailySummary {
  QString subject;
  QString text;
};

DailySummary SummarizeDay(const QDate& day, const std::vector<JournalEntry>& entries,
                          int pendingNotifications);

}  // namespace tidex
