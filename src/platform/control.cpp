#include "platform/control.h"

#include "platform/form.h"
#include "platform/frame.h"

namespace tidex {

Control::Control(Form& owner, QString name, Kind kind)
    : owner_(owner), name_(std::move(name)), kind_(kind) {
  owner_.addControl(*this);
  // A frame of the window declared earlier may hold this control by name.
  for (Control* other : owner_.controls()) {
    if (other->kind_ != Kind::Frame || other == this) continue;
    auto* frame = static_cast<Frame*>(other);
    if (frame->holdsName(name_)) {
      container_ = frame;
      break;
    }
  }
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

Frame* Control::container() const { return static_cast<Frame*>(container_); }

void Control::placeIn(Frame& frame) {
  if (&frame.owner() != &owner_ || container_ == &frame) return;
  for (const Control* c = &frame; c; c = c->container_) {
    if (c == this) return;
  }
  container_ = &frame;
  changed();
}

bool Control::reachable() const {
  for (const Control* c = this; c; c = c->container_) {
    if (!c->enabled_ || !c->visible_) return false;
  }
  return true;
}

void Control::setAccessibleName(const QString& name) {
  accessibleName_ = name;
  changed();
}

}  // namespace tidex
