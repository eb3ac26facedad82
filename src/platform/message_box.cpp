#include "platform/message_box.h"

namespace tidex {

MessageBox::MessageBox(QString text, BoxStyle style, QString title,
                       std::function<void(MessageBoxPeer&)> opened)
    : text_(std::move(text)), style_(style), title_(std::move(title)), opened_(std::move(opened)) {}

void MessageBox::await_suspend(std::coroutine_handle<> waiting) {
  box_ =
      Desktop::current().openMessageBox(text_, style_, title_, [this, waiting](BoxResult result) {
        result_ = result;
        waiting.resume();
      });
  if (opened_ && box_) opened_(*box_);
}

}  // namespace tidex
