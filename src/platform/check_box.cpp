#include "platform/check_box.h"

#include <algorithm>

namespace tidex {

CheckBox::CheckBox(Form& owner, QString name, QString caption, int value)
    : Control(owner, std::move(name), Kind::CheckBox),
      caption_(std::move(caption)),
      value_(std::clamp(value, 0, 2)) {}

void CheckBox::setValue(int value) {
  value = std::clamp(value, 0, 2);
  if (value_ == value) return;
  value_ = value;
  changed();
  if (onClick) onClick();
}

void CheckBox::setForeColor(Colour c) {
  if (foreColor_ == c) return;
  foreColor_ = c;
  changed();
}

void CheckBox::userToggled() {
  if (!Enabled()) return;
  setValue(value_ == 1 ? 0 : 1);
}

}  // namespace tidex
