#include "platform/menu.h"

namespace tidex {

Menu::Menu(Form& owner, QString name, QString caption, Menu* parent)
    : Control(owner, std::move(name), Kind::Menu), caption_(std::move(caption)), parent_(parent) {
  if (parent_) parent_->items_.push_back(this);
}

void Menu::setCaption(const QString& caption) {
  caption_ = caption;
  changed();
}

void Menu::setChecked(bool on) {
  checked_ = on;
  changed();
}

void Menu::userClick() {
  if (!Enabled() || isSeparator()) return;
  if (onClick) onClick();
}

}  // namespace tidex
