#pragma once

#include <vector>

#include "platform/form.h"
#include "platform/label.h"
#include "platform/list_view.h"
#include "platform/timer.h"

namespace tidex {

class RemoteNotifier;

// "監看狀態": every running monitor in one list, hidden ones too, those alerting or unable to
// read on top: caption, kind, state, last good read, last change or finding, and a
// notification still to go; below them every notification target that is not used and why. It
// reads the running windows and the notifier, never the settings file, afresh every few
// seconds. A double-click or Enter on a monitor's row brings that monitor forward.
class MonitorStatusWindow final : public Form {
 public:
  static constexpr std::chrono::milliseconds kRefreshPeriod = 3s;
  static QString WindowCaption();

  explicit MonitorStatusWindow(const RemoteNotifier& notifier);

  Label summaryLine{*this, "summaryLine"};
  ListView statusList{
      *this, "statusList", {"視窗", "種類", "狀態", "最後讀取", "最後變更／找到", "摘要", "通知"}};
  Timer refreshTimer{*this, "refreshTimer", kRefreshPeriod, true};

  // The monitors listed, in the list's order; a target's row has none.
  const std::vector<Form*>& listed() const { return listed_; }

  void onLoad() override;
  void onResize() override;
  // Reads the monitors again; the selected monitor stays selected wherever its row goes.
  void Refresh();
  // Shows the selected row's monitor, restored and in front.
  void bringSelectedForward();

 private:
  void layOut(int width, int height);

  const RemoteNotifier& notifier_;
  std::vector<Form*> listed_;
};

}  // namespace tidex
