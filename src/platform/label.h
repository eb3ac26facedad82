#pragma once

#include <functional>

#include "platform/colour.h"
#include "platform/control.h"

namespace tidex {

class Label final : public Control {
 public:
  Label(Form& owner, QString name, QString caption = {});

  const QString& Caption() const { return caption_; }
  void setCaption(const QString& caption);
  Colour ForeColor() const { return foreColor_; }
  void setForeColor(Colour c);

  std::function<void()> onClick;
  std::function<void(int button, int shift, int x, int y)> onMouseDown;

  void userMouseDown(int button, int shift, int x, int y);
  void userClick();

 private:
  QString caption_;
  Colour foreColor_ = Colour::system(SystemColour::WindowText);
};

}  // namespace tidex
