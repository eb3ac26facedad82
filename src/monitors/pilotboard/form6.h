#pragma once

#include "monitors/pilotboard/board_monitor.h"

namespace tidex {

// The wharf monitor: watches the pilot board for one wharf code.
class Form6 final : public BoardMonitor {
 public:
  Form6() : BoardMonitor(QStringLiteral("Form6")) {}

 private:
  TextBox& WatchedItemField(Form1& console) const override;
  Timer& ReopenTimer(Form1& console) const override;
  QString ReopenQuestion() const override;
  QString PageAddress(const QString& item) const override;
  QString SearchFieldName() const override;
  QString Normalise(const QString& pageText) const override;
};

}  // namespace tidex
