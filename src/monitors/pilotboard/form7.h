#pragma once

#include "monitors/pilotboard/board_monitor.h"

namespace tidex {

// The URL monitor: watches the page at an address the user typed.
class Form7 final : public BoardMonitor {
 public:
  Form7() : BoardMonitor(QStringLiteral("Form7")) {}

 private:
  TextBox& WatchedItemField(Form1& console) const override;
  Timer& ReopenTimer(Form1& console) const override;
  QString ReopenQuestion() const override;
  QString PageAddress(const QString& item) const override;
  QString SearchFieldName() const override;
  QString Normalise(const QString& pageText) const override;
  bool FiltersErrorPages() const override { return false; }
};

}  // namespace tidex
