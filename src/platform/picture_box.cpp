#include "platform/picture_box.h"

namespace tidex {

PictureBox::PictureBox(Form& owner, QString name, QString picture)
    : Control(owner, std::move(name), Kind::PictureBox), picture_(std::move(picture)) {}

void PictureBox::setPicture(const QString& resource) {
  picture_ = resource;
  changed();
}

void PictureBox::setScaleMode(tidex::ScaleMode mode) {
  scaleMode_ = mode;
  changed();
}

void PictureBox::mouseMove(MouseButton button, ModifierKeys keys, double x, double y) {
  if (onMouseMove) onMouseMove(button, keys, x, y);
}

}  // namespace tidex
