#pragma once

#include <functional>

#include "platform/control.h"

namespace tidex {

class CommandButton final : public Control {
 public:
  CommandButton(Form& owner, QString name, QString caption = {});

  const QString& Caption() const { return caption_; }
  void setCaption(const QString& caption);
  const QString& ToolTipText() const { return toolTip_; }
  void setToolTipText(const QString& tip);

  std::function<void()> onClick;
  std::function<void(MouseButton button, ModifierKeys keys, int x, int y)> onMouseDown;

 private:
  friend class BackEnd;
  void userMouseDown(MouseButton button, ModifierKeys keys, int x, int y);
  void userClick();

  QString caption_;
  QString toolTip_;
};

}  // namespace tidex
