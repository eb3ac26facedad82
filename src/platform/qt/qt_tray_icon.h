#pragma once

#include <functional>

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include "platform/desktop.h"
#include "platform/picture_box.h"

namespace tidex {

// The program's tray icon. Its double click and right click reach the receiving PictureBox's
// MouseMove with the mouse message as x (TrayMouseMessage).
class QtTrayIcon final : public QObject {
 public:
  explicit QtTrayIcon(Desktop& desktop);
  ~QtTrayIcon() override;

  // Without a tray the icon waits and shows once one appears.
  void add(PictureBox& receiver, const QString& tip);
  void remove();
  static bool trayPresent();
  // appeared runs from the dispatch loop when a tray appears, while watcher is open.
  void watch(Form& watcher, std::function<void()> appeared);
  // While shown: the tooltip.
  void setTip(const QString& tip);
  // While shown: a notice through the desktop's notification service, or Qt's balloon where
  // there is none; silent: asks for no sound. The text is shown as it is, never as markup.
  void notify(const QString& title, const QString& text, bool silent);
  bool shown() const { return receiver_ != nullptr; }
  const QString& tip() const { return tip_; }

 private:
  void activated(QSystemTrayIcon::ActivationReason reason);
  void deliver(TrayMouseMessage message);
  void showIcon();
  // Polled until a tray is there: Qt tells of a tray's arrival only inside its platform
  // plugin. A shown icon is then Qt's to keep docked, also in a tray that replaces this one.
  void checkForTray();
  bool isOpen(const Form* form) const;

  Desktop& desktop_;
  PictureBox* receiver_ = nullptr;
  Form* receiverForm_ = nullptr;
  QString tip_;
  QPointer<QSystemTrayIcon> icon_;
  // Some trays report a single activation and never a double click: a trigger that no
  // double click follows counts as one.
  QTimer triggerWait_;
  bool sawDoubleClick_ = false;
  QTimer trayWait_;
  Form* watcher_ = nullptr;
  std::function<void()> appeared_;
};

}  // namespace tidex
