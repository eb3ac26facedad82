#include "platform/picture_box.h"

namespace tidex {

PictureBox::PictureBox(Form& owner, QString name, QString picture)
    : Control(owner, std::move(name), Kind::PictureBox), picture_(std::move(picture)) {}

void PictureBox::setPicture(const QString& resource) {
  picture_ = resource;
  changed();
}

void PictureBox::setScaleMode(int mode) {
  scaleMode_ = mode;
  changed();
}

void PictureBox::mouseMove(int button, int shift, double x, double y) {
  if (onMouseMove) onMouseMove(button, shift, x, y);
}

}  // namespace tidex
