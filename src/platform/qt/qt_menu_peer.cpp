#include "platform/qt/qt_menu_peer.h"

#include <QMenuBar>

#include "platform/back_end.h"

namespace tidex {

MenuPeer::MenuPeer(Menu& menu, QWidget* window, std::function<void()> barChanged)
    : menu_(menu), barChanged_(std::move(barChanged)) {
  if (!menu.items().empty()) {
    submenu_ = new QMenu(window);
    submenu_->setObjectName(menu.Name());
    action_ = submenu_->menuAction();
  } else {
    action_ = new QAction(window);
  }
  action_->setObjectName(menu.Name());
  connect(action_, &QAction::triggered, this, &MenuPeer::triggered);
  sync();
}

MenuPeer::~MenuPeer() {
  if (action_) action_->disconnect(this);
}

void MenuPeer::sync() {
  QAction* a = action_;
  if (!a) return;
  if (a->isSeparator() != menu_.isSeparator()) a->setSeparator(menu_.isSeparator());
  // A separator with text would show the "-".
  const QString text = menu_.isSeparator() ? QString() : menu_.Caption();
  if (a->text() != text) {
    a->setText(text);
    if (submenu_) submenu_->setTitle(text);
  }
  if (a->isEnabled() != menu_.Enabled()) a->setEnabled(menu_.Enabled());
  if (a->isVisible() != menu_.Visible()) {
    a->setVisible(menu_.Visible());
    if (barChanged_) barChanged_();
  }
  if (a->isCheckable() != menu_.Checked()) a->setCheckable(menu_.Checked());
  if (a->isChecked() != menu_.Checked()) a->setChecked(menu_.Checked());
}

void MenuPeer::triggered() {
  QPointer<MenuPeer> self(this);
  sync();  // Qt toggled the check mark; only the control sets it
  BackEnd::clicked(menu_);
  if (self) sync();
}

void MenuPeer::popup(const QPoint& at) {
  if (submenu_) submenu_->popup(at);
}

std::vector<std::unique_ptr<MenuPeer>> createMenuPeers(const std::vector<Control*>& controls,
                                                       QMenuBar& bar, QWidget* window,
                                                       const std::function<void()>& barChanged) {
  std::vector<std::unique_ptr<MenuPeer>> peers;
  auto build = [&](auto& self, Menu& menu, QWidget* into) -> void {
    auto peer = std::make_unique<MenuPeer>(
        menu, window, menu.parentMenu() ? std::function<void()>{} : barChanged);
    into->addAction(peer->action());
    BackEnd::setPeer(menu, peer.get());
    QMenu* dropDown = peer->submenu();
    peers.push_back(std::move(peer));
    for (Menu* item : menu.items()) self(self, *item, dropDown);
  };
  for (Control* control : controls) {
    if (control->kind() != Control::Kind::Menu) continue;
    auto& menu = static_cast<Menu&>(*control);
    if (!menu.parentMenu()) build(build, menu, &bar);
  }
  return peers;
}

}  // namespace tidex
