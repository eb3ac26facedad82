#include "platform/message_box.h"

#include "platform/task.h"

namespace tidex {

MessageBox::MessageBox(QString text, int style, QString title,
                       std::function<void(MessageBoxPeer&)> opened)
    : text_(std::move(text)), style_(style), title_(std::move(title)), opened_(std::move(opened)) {}

MessageBox::~MessageBox() {
  if (alive_) *alive_ = false;
  if (box_ && !answered_) box_->close();
}

void MessageBox::await_suspend(std::coroutine_handle<> waiting) {
  std::weak_ptr<bool> alive = alive_;
  box_ = Desktop::current().openMessageBox(text_, style_, title_, [this, alive, waiting](int r) {
    if (alive.expired() || !*alive.lock()) return;
    result_ = r;
    answered_ = true;
    resumeHandler(waiting);
  });
  if (opened_ && box_) opened_(*box_);
}

}  // namespace tidex
