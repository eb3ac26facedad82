#include "platform/back_end.h"
#include "platform/combo_box.h"
#include "platform/list_view.h"
#include "platform/sim/sim_desktop.h"

namespace tidex {

bool SimDesktop::select(ListView& list, int row) {
  if (!canReach(list) || row < -1 || row >= list.ListCount()) return false;
  BackEnd::rowSelected(list, row);
  clock_.runDue();
  return true;
}

bool SimDesktop::doubleClick(ListView& list, int row) {
  if (!canReach(list) || row < 0 || row >= list.ListCount()) return false;
  BackEnd::rowActivated(list, row);
  clock_.runDue();
  return true;
}

bool SimDesktop::pressEnter(ListView& list) {
  if (!canReach(list) || list.ListIndex() < 0) return false;
  BackEnd::rowActivated(list, list.ListIndex());
  clock_.runDue();
  return true;
}

bool SimDesktop::choose(ComboBox& box, const QString& item) {
  const int index = static_cast<int>(box.List().indexOf(item));
  if (!canReach(box) || index < 0) return false;
  BackEnd::chosen(box, index);
  clock_.runDue();
  return true;
}

}  // namespace tidex
