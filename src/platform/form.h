#pragma once

#include <vector>

#include <QString>

#include "platform/control.h"
#include "platform/task.h"

namespace tidex {

class Menu;

// The back end's mirror of a window, with the window operations that are not plain state.
class FormPeer : public ControlPeer {
 public:
  // Shows the window if hidden, takes it out of the minimised state and raises it.
  virtual void restore() = 0;
  // Raises a shown window and asks for it to be the active one (the window manager may refuse).
  virtual void bringToFront() = 0;
  // Pops up a menu's items at the mouse position.
  virtual void popupMenu(Menu& menu) = 0;
};

// How a window shows on the desktop.
enum class WindowState { Normal, Minimized, Maximized };
// Why a window is asked to close, as onQueryUnload receives it.
enum class UnloadReason {
  UserClose,   // the window's close box or its control menu
  Code,        // the program (Unload)
  SessionEnd,  // the desktop session ends
  Terminated   // the program was told to end (SIGTERM)
};

// Base of every window. Members of a derived window are its controls; its methods are the
// handlers. Create windows through Desktop::load, which runs onInitialize and onLoad.
class Form {
 public:
  explicit Form(QString name);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  const QString& Name() const { return name_; }
  const QString& Caption() const { return caption_; }
  void setCaption(const QString& caption);

  bool Visible() const { return visible_; }
  void setVisible(bool on);
  void Show() { setVisible(true); }
  void Hide() { setVisible(false); }
  tidex::WindowState WindowState() const { return windowState_; }
  void setWindowState(tidex::WindowState state);
  bool TopMost() const { return topMost_; }
  // Keeps the window above the others (Qt's stays-on-top hint in the Qt back end) or lets it
  // go; its position and size stay.
  void setTopMost(bool on);

  const Geometry& geometry() const { return geometry_; }
  void Move(int left, int top);
  void Move(int left, int top, int width, int height);
  // Sets the size and leaves the position to the desktop, which places the window like
  // other windows instead of on top of the last one.
  void Resize(int width, int height);
  // Whether the window's position was set (Move) rather than left to the desktop.
  bool positioned() const { return positioned_; }

  void restore();
  void bringToFront();
  void PopupMenu(Menu& menu);

  // Requests a close for the given reason: onQueryUnload, then onUnload; either may cancel.
  // Returns true when the window was unloaded.
  bool requestClose(UnloadReason reason);
  // A close requested by the program itself.
  bool Unload() { return requestClose(UnloadReason::Code); }
  bool isUnloaded() const { return unloaded_; }
  bool isLoaded() const { return loaded_; }

  const std::vector<Control*>& controls() const { return controls_; }
  FormPeer* peer() const { return peer_; }

  // Events, overridden by the windows that handle them.
  virtual void onInitialize() {}
  virtual void onLoad() {}
  virtual void onActivate() {}
  virtual void onQueryUnload(int& /*cancel*/, UnloadReason /*reason*/) {}
  virtual void onUnload(int& /*cancel*/) {}
  virtual void onResize() {}

 protected:
  // Unloads without asking: neither onQueryUnload nor onUnload runs.
  void unloadWithoutEvents();

 private:
  friend class BackEnd;
  friend class Control;
  friend class Desktop;
  friend class Task;
  void addControl(Control& c) { controls_.push_back(&c); }
  void markLoaded() { loaded_ = true; }
  // What the user did to the window, through the back end (see BackEnd).
  void userActivated() { onActivate(); }
  void userResized(int width, int height);
  void userWindowState(tidex::WindowState state);
  void userVisible(bool on) { visible_ = on; }
  void changed() {
    if (peer_) peer_->sync();
  }

  QString name_;
  QString caption_;
  bool visible_ = false;
  tidex::WindowState windowState_ = tidex::WindowState::Normal;
  bool topMost_ = false;
  Geometry geometry_{0, 0, 640, 480};
  bool positioned_ = false;
  bool loaded_ = false;
  bool unloaded_ = false;
  std::vector<Control*> controls_;
  FormPeer* peer_ = nullptr;
  // The handlers suspended on behalf of this window; the desktop ends them when it unloads.
  HandlerSet waits_;
};

}  // namespace tidex
