#pragma once

#include <coroutine>
#include <functional>
#include <memory>

#include <QString>

#include "platform/desktop.h"

namespace tidex {

// co_await MessageBox(text, style, title) shows the standard modal box and gives its result.
// The waiting handler is suspended meanwhile; everything else goes on.
class MessageBox final {
 public:
  // opened runs once the box is open, with the box (a countdown drives it from there).
  MessageBox(QString text, BoxStyle style, QString title,
             std::function<void(MessageBoxPeer&)> opened = {});
  MessageBox(const MessageBox&) = delete;
  MessageBox& operator=(const MessageBox&) = delete;
  // A handler destroyed while waiting closes its box, which then answers nobody.
  ~MessageBox() = default;

  bool await_ready() const noexcept { return false; }
  void await_suspend(std::coroutine_handle<> waiting);
  BoxResult await_resume() const noexcept { return result_; }

 private:
  QString text_;
  BoxStyle style_;
  QString title_;
  std::function<void(MessageBoxPeer&)> opened_;
  BoxResult result_ = BoxResult::Cancel;
  std::unique_ptr<MessageBoxPeer> box_;  // answers only while it exists
};

}  // namespace tidex
