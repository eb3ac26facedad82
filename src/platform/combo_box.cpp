#include "platform/combo_box.h"

namespace tidex {

ComboBox::ComboBox(Form& owner, QString name, QStringList items)
    : Control(owner, std::move(name), Kind::ComboBox), items_(std::move(items)) {}

void ComboBox::AddItem(const QString& item) {
  items_.push_back(item);
  changed();
}

void ComboBox::setListIndex(int index) {
  if (index < -1 || index >= ListCount() || index == listIndex_) return;
  listIndex_ = index;
  changed();
  if (onClick) onClick();
}

void ComboBox::userChose(int index) {
  if (!Enabled()) return;
  setListIndex(index);
}

}  // namespace tidex
