#include "common/remote/delivery_queue.h"

#include <algorithm>

namespace tidex {

DeliveryQueue::DeliveryQueue(std::function<JournalStore&()> store) : store_(std::move(store)) {}

void DeliveryQueue::load() {
  used_ = true;
  if (loaded_) return;
  const auto rows = store_().deliveries();
  if (!rows) return;
  loaded_ = true;
  for (const QueuedDelivery& row : *rows) {
    if (!unwritten_.contains(row.id)) queued_.emplace(row.id, row);
  }
}

void DeliveryQueue::keep(const QueuedDelivery& delivery) {
  load();
  queued_[delivery.id] = delivery;
  unwritten_[delivery.id] = delivery;
  sync();
}

void DeliveryQueue::remove(const QString& id) {
  load();
  queued_.erase(id);
  unwritten_[id] = std::nullopt;
  sync();
}

std::vector<QueuedDelivery> DeliveryQueue::all() {
  load();
  std::vector<QueuedDelivery> all;
  for (const auto& [id, delivery] : queued_) all.push_back(delivery);
  std::stable_sort(all.begin(), all.end(),
                   [](const auto& a, const auto& b) { return a.nextTry < b.nextTry; });
  return all;
}

bool DeliveryQueue::empty() {
  load();
  return queued_.empty();
}

bool DeliveryQueue::sync() {
  if (!used_) return true;
  load();
  for (auto it = unwritten_.begin(); it != unwritten_.end();) {
    const bool written =
        it->second ? store_().keepDelivery(*it->second) : store_().removeDelivery(it->first);
    if (!written) return false;
    it = unwritten_.erase(it);
  }
  return true;
}

}  // namespace tidex
