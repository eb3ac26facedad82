#pragma once

#include <functional>

#include "platform/colour.h"
#include "platform/control.h"

namespace tidex {

// Check box with the values 0 (clear), 1 (set) and 2 (grey).
class CheckBox final : public Control {
 public:
  CheckBox(Form& owner, QString name, QString caption, int value = 0);

  const QString& Caption() const { return caption_; }
  int Value() const { return value_; }
  // Fires Click when the value changes, also when code sets it.
  void setValue(int value);
  Colour ForeColor() const { return foreColor_; }
  void setForeColor(Colour c);

  std::function<void()> onClick;

 private:
  friend class BackEnd;
  // The user toggled it: clear or grey becomes set, set becomes clear.
  void userToggled();

  QString caption_;
  int value_;
  Colour foreColor_ = Colour::system(SystemColour::ButtonText);
};

}  // namespace tidex
