#pragma once

#include "platform/control.h"

namespace tidex {

// A captioned group box; purely visual.
class Frame final : public Control {
 public:
  Frame(Form& owner, QString name, QString caption = {});

  const QString& Caption() const { return caption_; }
  void setCaption(const QString& caption);

 private:
  QString caption_;
};

}  // namespace tidex
