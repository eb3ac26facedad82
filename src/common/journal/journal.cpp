#include "common/journal/journal.h"

#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex {

Journal::Journal() = default;
Journal::~Journal() = default;

JournalStore& Journal::store() {
  if (!store_) {
    store_ = std::make_unique<JournalStore>(journal::JournalPath());
  }
  return *store_;
}

void Journal::record(const QString& caption, const char* kind, const char* event,
                     const QString& summary, const JournalLines& lines) {
  const QString time = Desktop::current().now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  held_.push_back(JournalEntry{time, caption, QString::fromUtf8(kind), QString::fromUtf8(event),
                               summary, lines.before, lines.after, 0, lines.pageBefore,
                               lines.pageAfter});
  const JournalEntry entry = held_.back();
  flush();
  if (onRecorded) onRecorded(entry);
}

void Journal::recordOncePerDay(const QString& caption, const char* kind, const char* event,
                               const QString& summary) {
  const QString day = Desktop::current().now().toString(QStringLiteral("yyyy-MM-dd"));
  const QString key =
      caption + QLatin1Char('\n') + QString::fromUtf8(event) + QLatin1Char('\n') + day;
  if (daily_.contains(key)) return;
  daily_.insert(key);
  // A run started earlier the same day may have recorded it already.
  if (store().holdsOn(caption, QString::fromUtf8(event), day)) return;
  record(caption, kind, event, summary);
}

bool Journal::flush() {
  pending_.sync();
  deliveries_.sync();
  if (held_.empty()) return true;
  if (store().append(held_)) {
    held_.clear();
    reported_ = false;
    return true;
  }
  if (!reported_) {
    reported_ = true;
    if (onUnwritable) onUnwritable();
  }
  return false;
}

void Journal::close() {
  flush();
  store_.reset();
}

std::optional<std::vector<JournalEntry>> Journal::entriesOn(const QString& day) {
  flush();
  auto entries = store().entriesOn(day);
  if (!entries) return std::nullopt;
  for (const JournalEntry& entry : held_) {
    if (entry.time.startsWith(day)) entries->push_back(entry);
  }
  return entries;
}

std::optional<QString> Journal::newestTime() { return store().newestTime(); }

}  // namespace tidex
