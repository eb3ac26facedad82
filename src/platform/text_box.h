#pragma once

#include <functional>

#include "platform/control.h"

namespace tidex {

class TextBox final : public Control {
 public:
  TextBox(Form& owner, QString name, QString text = {});

  const QString& Text() const { return text_; }
  // Fires Change when the text differs, also when code sets it.
  void setText(const QString& text);

  bool MultiLine() const { return multiLine_; }
  void setMultiLine(bool on);
  bool Locked() const { return locked_; }
  void setLocked(bool on);
  QChar PasswordChar() const { return passwordChar_; }
  void setPasswordChar(QChar c);
  const QString& ToolTipText() const { return toolTip_; }
  void setToolTipText(const QString& tip);

  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  void setSelStart(int start);
  void setSelLength(int length);
  // The peer asks the control to take the keyboard focus.
  void SetFocus();
  bool focusRequested() const { return focusRequest_; }

  std::function<void()> onChange;
  std::function<void()> onGotFocus;
  std::function<void(MouseButton button, ModifierKeys keys, int x, int y)> onMouseDown;

 private:
  friend class BackEnd;
  // What the user did, and the peer having taken the focus, through the back end.
  void userEdited(const QString& text);
  void userSelected(int start, int length);
  void userFocused();
  void userMouseDown(MouseButton button, ModifierKeys keys, int x, int y);
  void clearFocusRequest() { focusRequest_ = false; }

  QString text_;
  bool multiLine_ = false;
  bool locked_ = false;
  QChar passwordChar_;
  QString toolTip_;
  int selStart_ = 0;
  int selLength_ = 0;
  bool focusRequest_ = false;
};

}  // namespace tidex
