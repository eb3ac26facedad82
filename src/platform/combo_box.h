#pragma once

#include <functional>

#include <QStringList>

#include "platform/control.h"

namespace tidex {

// A drop-down list the user chooses one item of (no typing).
class ComboBox final : public Control {
 public:
  ComboBox(Form& owner, QString name, QStringList items = {});

  const QStringList& List() const { return items_; }
  int ListCount() const { return static_cast<int>(items_.size()); }
  void AddItem(const QString& item);
  // The chosen item, or -1. Fires Click when it changes, also when code sets it.
  int ListIndex() const { return listIndex_; }
  void setListIndex(int index);
  // The chosen item's text; empty when none is chosen.
  QString Text() const { return listIndex_ < 0 ? QString() : items_[listIndex_]; }

  std::function<void()> onClick;

 private:
  friend class BackEnd;
  // The user chose an item.
  void userChose(int index);

  QStringList items_;
  int listIndex_ = -1;
};

}  // namespace tidex
