#include "platform/frame.h"

namespace tidex {

Frame::Frame(Form& owner, QString name, QString caption)
    : Control(owner, std::move(name), Kind::Frame), caption_(std::move(caption)) {}

void Frame::setCaption(const QString& caption) {
  caption_ = caption;
  changed();
}

QString Frame::holds(QString name) {
  held_.push_back(name);
  return name;
}

}  // namespace tidex
