#pragma once

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include "platform/desktop.h"
#include "platform/picture_box.h"

namespace tidex {

// The program's tray icon. Its double click and right click reach the receiving PictureBox's
// MouseMove with the mouse message as x (0x203 left double click, 0x205 right button up).
class QtTrayIcon final : public QObject {
 public:
  static constexpr int LeftDoubleClick = 0x203;
  static constexpr int RightButtonUp = 0x205;

  explicit QtTrayIcon(Desktop& desktop);
  ~QtTrayIcon() override;

  void add(PictureBox& receiver, const QString& tip);
  void remove();
  // While shown: the tooltip.
  void setTip(const QString& tip);
  // A notification balloon from the icon while it is shown; silent: asks for no sound.
  void notify(const QString& title, const QString& text, bool silent);
  bool shown() const { return receiver_ != nullptr; }
  const QString& tip() const { return tip_; }

 private:
  void activated(QSystemTrayIcon::ActivationReason reason);
  void deliver(int message);

  Desktop& desktop_;
  PictureBox* receiver_ = nullptr;
  Form* receiverForm_ = nullptr;
  QString tip_;
  QPointer<QSystemTrayIcon> icon_;
  // Some trays report a single activation and never a double click: a trigger that no
  // double click follows counts as one.
  QTimer triggerWait_;
  bool sawDoubleClick_ = false;
};

}  // namespace tidex
