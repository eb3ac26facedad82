#pragma once

#include <functional>
#include <vector>

#include "platform/control.h"

namespace tidex {

// A menu of the menu bar (parent null) or an item of another menu. Caption "-" is a separator.
class Menu final : public Control {
 public:
  Menu(Form& owner, QString name, QString caption, Menu* parent = nullptr);

  const QString& Caption() const { return caption_; }
  void setCaption(const QString& caption);
  bool Checked() const { return checked_; }
  void setChecked(bool on);
  bool isSeparator() const { return caption_ == QStringLiteral("-"); }

  Menu* parentMenu() const { return parent_; }
  const std::vector<Menu*>& items() const { return items_; }

  std::function<void()> onClick;

 private:
  friend class BackEnd;
  void userClick();

  QString caption_;
  bool checked_ = false;
  Menu* parent_;
  std::vector<Menu*> items_;
};

}  // namespace tidex
