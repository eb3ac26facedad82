#pragma once

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include <QString>

#include "platform/journal_store.h"

namespace tidex {

// The remote notifications not yet delivered, kept in the journal file so that a later run of
// the program delivers them. Memory is the authority, as for the pending notifications: a change
// the file does not take is written on a later sync.
class DeliveryQueue final {
 public:
  explicit DeliveryQueue(std::function<JournalStore&()> store);

  // Keeps a delivery, replacing the one of the same id.
  void keep(const QueuedDelivery& delivery);
  // Its target took it.
  void remove(const QString& id);
  // Soonest due first; read from the file on first use.
  std::vector<QueuedDelivery> all();
  bool empty();
  // Writes the changes the file has not taken; true when none is left. Does nothing before
  // the queue was first used.
  bool sync();

 private:
  void load();

  std::function<JournalStore&()> store_;
  std::map<QString, QueuedDelivery> queued_;
  std::map<QString, std::optional<QueuedDelivery>> unwritten_;
  bool used_ = false;
  bool loaded_ = false;
};

}  // namespace tidex
