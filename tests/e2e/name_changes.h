#pragma once

#include <QProcess>
#include <QStringList>

#include "accessibility_bus.h"

namespace tidex::e2e {

// The accessible names that objects of the programs on the bus take, from the moment this
// listens on: what a screen reader would have announced, read from the bus's events as they
// came however briefly the object lived or however late the test looks.
class NameChanges {
 public:
  // Keeps the names that start with prefix.
  NameChanges(const AccessibilityBus& bus, const QString& prefix);
  ~NameChanges();
  NameChanges(const NameChanges&) = delete;
  NameChanges& operator=(const NameChanges&) = delete;

  bool started() const { return started_; }
  // The names so far, oldest first.
  QStringList names();

 private:
  QProcess listener_;
  QStringList names_;
  QByteArray pending_;
  bool started_ = false;
};

}  // namespace tidex::e2e
