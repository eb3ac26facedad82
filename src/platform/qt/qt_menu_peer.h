#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QPointer>

#include "platform/menu.h"

class QMenuBar;

namespace tidex {

// A Menu as a QAction; a menu with items also has the QMenu that drops down or pops up.
class MenuPeer final : public QObject, public ControlPeer {
 public:
  // barChanged runs after a sync of a menu-bar menu (its visibility decides the bar's).
  MenuPeer(Menu& menu, QWidget* window, std::function<void()> barChanged = {});
  ~MenuPeer() override;

  void sync() override;
  QAction* action() const { return action_; }
  // The drop-down of the menu's items, or null when it has none.
  QMenu* submenu() const { return submenu_; }
  // Pops the items up at a screen position without waiting for a choice.
  void popup(const QPoint& at);

 private:
  void triggered();

  Menu& menu_;
  std::function<void()> barChanged_;
  QPointer<QAction> action_;
  QPointer<QMenu> submenu_;
};

// Builds and installs the peers of a window's menus: the top-level ones go into the menu bar
// (hidden ones too, as hidden actions), the items into their parent's drop-down.
std::vector<std::unique_ptr<MenuPeer>> createMenuPeers(const std::vector<Control*>& controls,
                                                       QMenuBar& bar, QWidget* window,
                                                       const std::function<void()>& barChanged);

}  // namespace tidex
