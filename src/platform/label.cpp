#include "platform/label.h"

namespace tidex {

Label::Label(Form& owner, QString name, QString caption)
    : Control(owner, std::move(name), Kind::Label), caption_(std::move(caption)) {}

void Label::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  changed();
}

void Label::setLabelFor(Control& control) {
  labelFor_ = &control;
  changed();
}

void Label::setForeColor(Colour c) {
  foreColor_ = c;
  changed();
}

void Label::userMouseDown(MouseButton button, ModifierKeys keys, int x, int y) {
  if (Enabled() && onMouseDown) onMouseDown(button, keys, x, y);
}

void Label::userClick() {
  if (Enabled() && onClick) onClick();
}

}  // namespace tidex
