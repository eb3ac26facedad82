#pragma once

#include <QString>

namespace tidex {

class Form;
class Frame;

// The back end's mirror of one control (a widget, a timer, a tray entry ...).
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  // The control's state changed; bring the mirror up to date.
  virtual void sync() = 0;
};

struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Base of every control of a window. State lives here; the peer only mirrors it.
class Control {
 public:
  enum class Kind {
    TextBox,
    Label,
    CheckBox,
    CommandButton,
    Timer,
    Menu,
    Frame,
    PictureBox,
    WebBrowser,
    ListView,
    ComboBox,
    TextPane
  };

  Control(Form& owner, QString name, Kind kind);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const QString& Name() const { return name_; }
  Kind kind() const { return kind_; }
  Form& owner() const { return owner_; }

  bool Enabled() const { return enabled_; }
  void setEnabled(bool on);
  bool Visible() const { return visible_; }
  void setVisible(bool on);

  // Placement in pixels inside the window's client area, or inside the frame that contains
  // the control.
  const Geometry& geometry() const { return geometry_; }
  void Move(int left, int top, int width, int height);

  // The frame that contains the control; null for one placed on the window itself.
  Frame* container() const;
  // Puts the control inside a frame of the same window (see Frame). A frame cannot go into
  // itself or into a frame it contains; such a request is ignored.
  void placeIn(Frame& frame);
  // Whether the user can reach the control: it and every frame around it are enabled and
  // visible. The window's own state is not part of it.
  bool reachable() const;

  // What assistive technology announces for the control (a field's label).
  const QString& accessibleName() const { return accessibleName_; }
  void setAccessibleName(const QString& name);

  ControlPeer* peer() const { return peer_; }

 protected:
  void changed() {
    if (peer_) peer_->sync();
  }

 private:
  friend class BackEnd;
  void setPeer(ControlPeer* peer) { peer_ = peer; }

  Form& owner_;
  QString name_;
  Kind kind_;
  bool enabled_ = true;
  bool visible_ = true;
  Geometry geometry_;
  Control* container_ = nullptr;  // always a Frame
  QString accessibleName_;
  ControlPeer* peer_ = nullptr;
};

// The mouse button of a mouse event; None where no button is pressed (a move).
enum class MouseButton { None, Left, Right, Middle };

// The modifier keys held during a mouse event, combined with |: Ctrl | Alt.
enum class ModifierKeys : unsigned { None = 0, Shift = 1, Ctrl = 2, Alt = 4 };
constexpr ModifierKeys operator|(ModifierKeys a, ModifierKeys b) {
  return static_cast<ModifierKeys>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr ModifierKeys& operator|=(ModifierKeys& a, ModifierKeys b) { return a = a | b; }

}  // namespace tidex
