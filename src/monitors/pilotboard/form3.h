#pragma once

#include "monitors/pilotboard/board_monitor.h"

namespace tidex {

// The vessel monitor: watches the pilot board for one vessel name.
class Form3 final : public BoardMonitor {
 public:
  Form3() : BoardMonitor(QStringLiteral("Form3")) {}

 private:
  TextBox& WatchedItemField(Form1& console) const override;
  Timer& ReopenTimer(Form1& console) const override;
  QString ReopenQuestion() const override;
  QString PageAddress(const QString& item) const override;
  QString SearchFieldName() const override;
  QString Normalise(const QString& pageText) const override;
};

}  // namespace tidex
