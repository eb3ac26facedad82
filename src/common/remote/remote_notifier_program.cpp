// The notifier's news of the program itself: its start, its end and the daily summary.
#include <QJsonDocument>
#include <QJsonObject>

#include "common/journal/journal.h"
#include "common/remote/daily_summary.h"
#include "common/remote/remote_notifier.h"
#include "common/remote/run_record.h"
#include "common/settings/settings.h"

namespace tidex {
namespace {

const QString kSummarySent = QStringLiteral("summarysent");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QString kindOf(const QueuedDelivery& delivery) {
  return QJsonDocument::fromJson(delivery.json.toUtf8()).object().value(u"kind").toString();
}

}  // namespace

void RemoteNotifier::announceStart() {
  const QDateTime now = Desktop::current().now();
  DeliveryQueue& queue = journal_.deliveryQueue();
  for (QueuedDelivery delivery : queue.all()) {
    if (kindOf(delivery) != u"program-ending" || delivery.subject.startsWith(u"（遲送）")) continue;
    QJsonObject body = QJsonDocument::fromJson(delivery.json.toUtf8()).object();
    body.insert(QStringLiteral("late"), true);
    delivery.json = QString::fromUtf8(QJsonDocument(body).toJson(QJsonDocument::Compact));
    delivery.subject = QStringLiteral("（遲送）") + delivery.subject;
    delivery.text = QStringLiteral("（上次結束時未能送出，此為遲送。）\n") + delivery.text;
    queue.keep(delivery);
  }
  const LastRun last = RecallLastRun(journal_);
  RecordRunStart(now);
  post(MakeRemoteEvent(RemoteEventKind::ProgramStarted, Desktop::current().computerName(),
                       last.sentence(now)));
}

void RemoteNotifier::programEnding(const QString& why, std::function<void()> end) {
  if (end_) return;  // already ending
  if (targets_.empty()) return end();
  heartbeats_.clear();  // no ping once the program ends
  pings_.clear();
  RecordRunEnd(Desktop::current().now());
  const std::vector<QueuedDelivery> before = journal_.deliveryQueue().all();
  post(MakeRemoteEvent(RemoteEventKind::ProgramEnding, Desktop::current().computerName(), why));
  for (const QueuedDelivery& delivery : journal_.deliveryQueue().all()) {
    const bool added = std::none_of(before.begin(), before.end(),
                                    [&](const auto& d) { return d.id == delivery.id; });
    if (added) endingIds_.insert(delivery.id);
  }
  if (endingIds_.empty()) return end();
  end_ = std::move(end);
  endBy_ = Desktop::current().now().addSecs(std::chrono::seconds(kEndWait).count());
  endWait_ =
      Desktop::current().startTimer(std::chrono::milliseconds(100), [this] { waitForEnding(); });
}

void RemoteNotifier::waitForEnding() {
  const std::vector<QueuedDelivery> queued = journal_.deliveryQueue().all();
  const bool waiting = std::any_of(queued.begin(), queued.end(), [&](const auto& d) {
    return endingIds_.contains(d.id) && d.tries == 0;
  });
  if (waiting && Desktop::current().now() < endBy_) return;
  endWait_.reset();
  const std::function<void()> end = std::move(end_);
  end();
}

void RemoteNotifier::scheduleSummaries() {
  const bool any = std::any_of(targets_.begin(), targets_.end(),
                               [](const RemoteTarget& t) { return t.summaryTime().has_value(); });
  if (!any) {
    summaryCheck_.reset();
    return;
  }
  sendDueSummaries();
  if (!summaryCheck_) {
    summaryCheck_ =
        Desktop::current().startTimer(std::chrono::minutes(1), [this] { sendDueSummaries(); });
  }
}

// Once a day at the target's time; a run that starts later that day sends it at once.
void RemoteNotifier::sendDueSummaries() {
  const QDateTime now = Desktop::current().now();
  const QString today = now.date().toString(kDateFormat);
  for (const RemoteTarget& target : targets_) {
    const auto time = target.summaryTime();
    if (!time || now.time() < *time || unusable_.contains(target.name) ||
        target.delivery.kind == DeliveryTarget::Kind::Heartbeat) {
      continue;
    }
    const QString section = QStringLiteral("notify ") + target.name;
    if (ReadSetting(section, kSummarySent, QString()) >= today) continue;
    const QDate yesterday = now.date().addDays(-1);
    const auto entries = journal_.entriesOn(yesterday.toString(kDateFormat));
    if (!entries) continue;  // the journal cannot be read now: the next check tries again
    const DailySummary summary = SummarizeDay(
        yesterday, *entries, static_cast<int>(journal_.pendingNotifications().all().size()));
    WriteSetting(section, kSummarySent, today);
    queueFor(target, MakeRemoteEvent(RemoteEventKind::Summary, summary.subject, summary.text));
  }
}

}  // namespace tidex
