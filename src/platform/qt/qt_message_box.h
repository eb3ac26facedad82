#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QMessageBox>
#include <QObject>
#include <QPointer>

#include "platform/desktop.h"

namespace tidex {

// A standard message box opened without waiting: application-modal, on top of other windows,
// and answering (once, through the desktop's dispatch) when it closes, unless it is destroyed
// first.
class QtMessageBox final : public QObject, public MessageBoxPeer {
 public:
  QtMessageBox(Desktop& desktop, const QString& text, BoxStyle style, const QString& title,
               std::function<void(BoxResult)> answered);
  ~QtMessageBox() override;

  void setText(const QString& text) override;
  void close() override;

  // The box itself, for inspection.
  QMessageBox* box() const { return box_; }

 private:
  void addButtons();
  void finished();
  void finish(BoxResult result);

  Desktop& desktop_;
  BoxStyle style_;
  std::function<void(BoxResult)> answered_;
  std::unique_ptr<QueuedCall> answer_;
  QPointer<QMessageBox> box_;
  std::vector<std::pair<QAbstractButton*, BoxResult>> results_;
  bool done_ = false;
};

}  // namespace tidex
