#pragma once

#include <QProcess>
#include <QString>

namespace tidex::e2e {

// A program of the desktop (a window manager, a panel) on a virtual display, for as long as
// the object lives or until stopped.
class DesktopProgram {
 public:
  DesktopProgram(QString display, QString program, QStringList arguments);
  virtual ~DesktopProgram();
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  // Starts it; true once it runs and `ready` (below) holds.
  bool start();
  void stop();
  bool running() const { return process_.state() == QProcess::Running; }

 protected:
  // Whether the program has taken its place on the display.
  virtual bool ready() const { return true; }
  const QString& display() const { return display_; }

 private:
  QString display_;
  QString program_;
  QStringList arguments_;
  QProcess process_;
};

// openbox: a real window manager, with its own idea of focus, stacking and key bindings.
class WindowManager final : public DesktopProgram {
 public:
  explicit WindowManager(const QString& display);

 protected:
  bool ready() const override;
};

// trayer: a panel with a system tray (the freedesktop tray protocol), as a desktop shows one.
class TrayHost final : public DesktopProgram {
 public:
  explicit TrayHost(const QString& display);

 protected:
  bool ready() const override;
};

// What a program run on the display printed, trimmed (xdotool, xprop, xwininfo).
QString runOnDisplay(const QString& display, const QString& program, const QStringList& args);

// A window property as xprop prints it ("_NET_WM_STATE(ATOM) = _NET_WM_STATE_ABOVE"); the root
// window's when window is empty.
QString windowProperty(const QString& display, const QString& window, const QString& property);

}  // namespace tidex::e2e
