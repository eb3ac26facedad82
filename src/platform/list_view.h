#pragma once

#include <functional>
#include <vector>

#include <QStringList>

#include "platform/control.h"

namespace tidex {

// A list of rows under column headers, one row selected at most (a report-style list view).
class ListView final : public Control {
 public:
  ListView(Form& owner, QString name, QStringList columns = {});

  const QStringList& Columns() const { return columns_; }
  void setColumns(const QStringList& columns);
  // Each row holds one text per column; replacing the rows clears the selection.
  const std::vector<QStringList>& Rows() const { return rows_; }
  void setRows(std::vector<QStringList> rows);
  int ListCount() const { return static_cast<int>(rows_.size()); }

  // The selected row, or -1. Fires Click when it changes, also when code sets it.
  int ListIndex() const { return listIndex_; }
  void setListIndex(int index);

  std::function<void()> onClick;
  // The user double-clicked a row or pressed Enter on it; the row is selected by then.
  std::function<void()> onDblClick;

 private:
  friend class BackEnd;
  // What the user did, through the back end (see BackEnd).
  void userSelected(int index);
  void userActivated(int index);

  QStringList columns_;
  std::vector<QStringList> rows_;
  int listIndex_ = -1;
};

}  // namespace tidex
