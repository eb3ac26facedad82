#include "platform/command_button.h"

namespace tidex {

CommandButton::CommandButton(Form& owner, QString name, QString caption)
    : Control(owner, std::move(name), Kind::CommandButton), caption_(std::move(caption)) {}

void CommandButton::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  changed();
}

void CommandButton::setToolTipText(const QString& tip) {
  toolTip_ = tip;
  changed();
}

void CommandButton::userMouseDown(MouseButton button, ModifierKeys keys, int x, int y) {
  if (Enabled() && onMouseDown) onMouseDown(button, keys, x, y);
}

void CommandButton::userClick() {
  if (Enabled() && onClick) onClick();
}

}  // namespace tidex
