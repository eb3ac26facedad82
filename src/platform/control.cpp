#include "platform/control.h"

#include "platform/form.h"

namespace tidex {

Control::Control(Form& owner, QString name, Kind kind)
    : owner_(owner), name_(std::move(name)), kind_(kind) {
  owner_.addControl(*this);
}

void Control::setEnabled(bool on) {
  if (enabled_ == on) return;
  enabled_ = on;
  changed();
}

void Control::setVisible(bool on) {
  if (visible_ == on) return;
  visible_ = on;
  changed();
}

void Control::Move(int left, int top, int width, int height) {
  geometry_ = {left, top, width, height};
  changed();
}

void Control::setAccessibleName(const QString& name) {
  accessibleName_ = name;
  changed();
}

}  // namespace tidex
