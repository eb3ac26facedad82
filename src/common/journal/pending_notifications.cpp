#include "common/journal/pending_notifications.h"

#include <algorithm>

#include "platform/desktop.h"

namespace tidex {

PendingNotifications::PendingNotifications(std::function<JournalStore&()> store)
    : store_(std::move(store)) {}

void PendingNotifications::load() {
  if (loaded_) return;
  const auto rows = store_().pending();
  if (!rows) return;
  loaded_ = true;
  // What this run changed before the file could be read stands.
  for (const PendingNotification& row : *rows) {
    if (!unwritten_.contains(row.number)) pending_.emplace(row.number, row);
  }
}

void PendingNotifications::hold(const PendingNotification& notification) {
  load();
  pending_[notification.number] = notification;
  unwritten_[notification.number] = notification;
  sync();
}

void PendingNotifications::remove(const QString& number) {
  load();
  pending_.erase(number);
  refused_.erase(number);
  unwritten_[number] = std::nullopt;
  sync();
}

std::optional<PendingNotification> PendingNotifications::find(const QString& number) {
  load();
  const auto it = pending_.find(number);
  if (it == pending_.end()) return std::nullopt;
  return it->second;
}

std::vector<PendingNotification> PendingNotifications::all() {
  load();
  std::vector<PendingNotification> all;
  for (const auto& [number, notification] : pending_) all.push_back(notification);
  std::stable_sort(all.begin(), all.end(),
                   [](const auto& a, const auto& b) { return a.found < b.found; });
  return all;
}

bool PendingNotifications::sync() {
  load();
  for (auto it = unwritten_.begin(); it != unwritten_.end();) {
    const bool written =
        it->second ? store_().keepPending(*it->second) : store_().removePending(it->first);
    if (!written) return false;
    it = unwritten_.erase(it);
  }
  return true;
}

std::shared_ptr<const void> PendingNotifications::takeForSending(const QString& number) {
  const QDateTime now = Desktop::current().now();
  Sending& sending = sending_[number];
  if (!sending.token.expired()) return nullptr;
  if (sending.started.isValid() &&
      sending.started.secsTo(now) < kNotificationMinimumInterval.count()) {
    return nullptr;
  }
  auto token = std::make_shared<const int>(0);
  sending = {token, now};
  return token;
}

bool PendingNotifications::firstRefusal(const QString& number) {
  return refused_.insert(number).second;
}

}  // namespace tidex
