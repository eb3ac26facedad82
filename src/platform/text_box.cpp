#include "platform/text_box.h"

#include <algorithm>

namespace tidex {

TextBox::TextBox(Form& owner, QString name, QString text)
    : Control(owner, std::move(name), Kind::TextBox), text_(std::move(text)) {}

void TextBox::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  selStart_ = std::min<int>(selStart_, text_.size());
  selLength_ = std::min<int>(selLength_, text_.size() - selStart_);
  changed();
  if (onChange) onChange();
}

void TextBox::setMultiLine(bool on) {
  multiLine_ = on;
  changed();
}

void TextBox::setLocked(bool on) {
  if (locked_ == on) return;
  locked_ = on;
  changed();
}

void TextBox::setPasswordChar(QChar c) {
  if (passwordChar_ == c) return;
  passwordChar_ = c;
  changed();
}

void TextBox::setToolTipText(const QString& tip) {
  toolTip_ = tip;
  changed();
}

void TextBox::setSelStart(int start) {
  selStart_ = std::clamp<int>(start, 0, text_.size());
  selLength_ = 0;
  changed();
}

void TextBox::setSelLength(int length) {
  selLength_ = std::clamp<int>(length, 0, text_.size() - selStart_);
  changed();
}

void TextBox::SetFocus() {
  focusRequest_ = true;
  changed();
}

void TextBox::userEdited(const QString& text) { setText(text); }

void TextBox::userSelected(int start, int length) {
  selStart_ = std::clamp<int>(start, 0, text_.size());
  selLength_ = std::clamp<int>(length, 0, text_.size() - selStart_);
}

void TextBox::userFocused() {
  if (onGotFocus) onGotFocus();
}

}  // namespace tidex

namespace tidex {

void TextBox::userMouseDown(MouseButton button, ModifierKeys keys, int x, int y) {
  if (Enabled() && onMouseDown) onMouseDown(button, keys, x, y);
}

}  // namespace tidex
