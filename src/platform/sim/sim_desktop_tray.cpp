#include "platform/back_end.h"
#include "platform/form.h"
#include "platform/picture_box.h"
#include "platform/sim/sim_desktop.h"

namespace tidex {
namespace {
// The tray's message reaches the receiver's MouseMove as x.
void deliver(PictureBox& receiver, TrayMouseMessage message) {
  BackEnd::mouseMoved(receiver, MouseButton::None, ModifierKeys::None, static_cast<int>(message),
                      0);
}
}  // namespace

void SimDesktop::trayAdd(PictureBox& receiver, const QString& tip) {
  trays_[copy_ - 1] = SimTray{trayPresent_, tip, &receiver};
}

void SimDesktop::trayRemove() {
  trays_[copy_ - 1].shown = false;
  trays_[copy_ - 1].receiver = nullptr;
}

void SimDesktop::trayTip(const QString& tip) {
  if (trays_[copy_ - 1].receiver) trays_[copy_ - 1].tip = tip;
}

void SimDesktop::trayNotify(const QString& title, const QString& text, bool silent) {
  if (trays_[copy_ - 1].shown) notifications_.push_back({title, text, silent});
}

void SimDesktop::watchTray(Form& watcher, std::function<void()> appeared) {
  trayWatcher_ = &watcher;
  trayAppeared_ = std::move(appeared);
}

void SimDesktop::setTrayPresent(bool present) {
  const bool appears = present && !trayPresent_;
  trayPresent_ = present;
  for (SimTray& tray : trays_) tray.shown = present && tray.receiver;
  if (appears && trayAppeared_ && !ended_) {
    post([this, watcher = trayWatcher_] {
      if (!watcher->isUnloaded() && watcher == trayWatcher_) trayAppeared_();
    });
  }
  clock_.runDue();
}

void SimDesktop::trayDoubleClick() {
  if (ended_ || !trays_[0].shown) return;
  deliver(*trays_[0].receiver, TrayMouseMessage::LeftDoubleClick);
  clock_.runDue();
}

void SimDesktop::trayRightClick() {
  if (ended_ || !trays_[0].shown) return;
  deliver(*trays_[0].receiver, TrayMouseMessage::RightButtonUp);
  clock_.runDue();
}

}  // namespace tidex
