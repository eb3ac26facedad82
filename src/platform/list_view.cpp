#include "platform/list_view.h"

namespace tidex {

ListView::ListView(Form& owner, QString name, QStringList columns)
    : Control(owner, std::move(name), Kind::ListView), columns_(std::move(columns)) {}

void ListView::setColumns(const QStringList& columns) {
  if (columns_ == columns) return;
  columns_ = columns;
  changed();
}

void ListView::setRows(std::vector<QStringList> rows) {
  const bool hadSelection = listIndex_ != -1;
  rows_ = std::move(rows);
  listIndex_ = -1;
  changed();
  if (hadSelection && onClick) onClick();
}

void ListView::setListIndex(int index) {
  if (index < -1 || index >= ListCount() || index == listIndex_) return;
  listIndex_ = index;
  changed();
  if (onClick) onClick();
}

void ListView::userSelected(int index) {
  if (!Enabled()) return;
  setListIndex(index);
}

void ListView::userActivated(int index) {
  if (!Enabled() || index < 0 || index >= ListCount()) return;
  setListIndex(index);
  // The Click handler may have replaced the rows.
  if (listIndex_ == index && onDblClick) onDblClick();
}

}  // namespace tidex
