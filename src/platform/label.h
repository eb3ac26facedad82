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

  // The control this label names for assistive technology (as a relation, where the desktop
  // announces a drop-down list by its chosen item rather than by its accessible name).
  Control* LabelFor() const { return labelFor_; }
  void setLabelFor(Control& control);

  std::function<void()> onClick;
  std::function<void(MouseButton button, ModifierKeys keys, int x, int y)> onMouseDown;

 private:
  friend class BackEnd;
  void userMouseDown(MouseButton button, ModifierKeys keys, int x, int y);
  void userClick();

  QString caption_;
  Control* labelFor_ = nullptr;
  Colour foreColor_ = Colour::system(SystemColour::WindowText);
};

}  // namespace tidex
