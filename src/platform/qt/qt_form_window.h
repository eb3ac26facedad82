#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QPointer>

#include "platform/form.h"

namespace tidex {

// The top-level window of a Form: a QMainWindow whose central widget holds the controls'
// widgets at their pixel positions. The form's geometry is the window's position (frame
// included) and the size of that client area, below the menu bar.
class FormWindow final : public QMainWindow, public FormPeer {
 public:
  explicit FormWindow(Form& form);

  // Where the controls' widgets go.
  QWidget* client() const { return client_; }
  // Shows the menu bar when at least one of its menus is visible.
  void updateMenuBar();
  // Stops mirroring the form (it is being unloaded) and hides the window.
  void release();

  // FormPeer
  void sync() override;
  void restore() override;
  void bringToFront() override;
  void popupMenu(Menu& menu) override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void applyGeometry();
  static QPoint nextCascadePosition();
  void applyWindowState();
  int menuBarHeight() const;
  // Whether another of the program's windows on screen stays on top.
  bool anotherOnTopIsShown() const;
  // Runs fn from the event loop if the form is still mirrored then.
  void later(std::function<void(Form&)> fn);

  Form* form_;
  QWidget* client_;
  // The form's state as last applied to or reported from the window: comparing with these,
  // not with the window, keeps a pending user change from being undone by an unrelated sync.
  QString caption_;
  bool visible_ = false;
  WindowState state_ = WindowState::Normal;
  bool topMost_ = false;
  bool keptOnTop_ = false;  // on top since it was shown while another window was
  Geometry geometry_;
  bool cascaded_ = false;
};

}  // namespace tidex
