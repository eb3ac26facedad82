#include "platform/combo_box.h"
#include "platform/list_view.h"
#include "platform/sim/sim_desktop.h"

namespace tidex {

bool SimDesktop::select(ListView& list, int row) {
  if (!canReach(list) || row < -1 || row >= list.ListCount()) return false;
  list.userSelected(row);
  clock_.runDue();
  return true;
}

bool SimDesktop::choose(ComboBox& box, const QString& item) {
  const int index = static_cast<int>(box.List().indexOf(item));
  if (!canReach(box) || index < 0) return false;
  box.userChose(index);
  clock_.runDue();
  return true;
}

}  // namespace tidex
