#pragma once

#include <memory>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "platform/check_box.h"
#include "platform/command_button.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/picture_box.h"
#include "platform/qt/qt_widget_peer.h"

namespace tidex {

// A Label as a QLabel; a press reports MouseDown, the release inside it Click.
class LabelPeer final : public WidgetPeer {
 public:
  LabelPeer(Label& label, QWidget* parent);
  void sync() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* label() const { return static_cast<QLabel*>(widget()); }
  Label& control_;
  Colour colour_;
  bool buddyAwaited_ = false;
};

// A CheckBox as a QCheckBox whose state only the control sets.
class CheckBoxPeer final : public WidgetPeer {
 public:
  CheckBoxPeer(CheckBox& box, QWidget* parent);
  void sync() override;

 private:
  QCheckBox* checkBox() const { return static_cast<QCheckBox*>(widget()); }
  void clicked();
  CheckBox& control_;
  Colour colour_;
};

// A CommandButton as a QPushButton: MouseDown on press (with the modifiers), Click on click.
class CommandButtonPeer final : public WidgetPeer {
 public:
  CommandButtonPeer(CommandButton& control, QWidget* parent);
  void sync() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* button() const { return static_cast<QPushButton*>(widget()); }
  CommandButton& control_;
};

// A Frame as a QGroupBox kept beneath its siblings; the widgets of the controls it contains
// are its children.
class FramePeer final : public WidgetPeer {
 public:
  FramePeer(Frame& frame, QWidget* parent);
  void sync() override;

 private:
  Frame& control_;
};

// A PictureBox as a QLabel showing the picture resource.
class PictureBoxPeer final : public WidgetPeer {
 public:
  PictureBoxPeer(PictureBox& picture, QWidget* parent);
  void sync() override;

 private:
  QLabel* label() const { return static_cast<QLabel*>(widget()); }
  PictureBox& control_;
  QString shown_;
};

// The peer of a windowed control, its widget placed in the window's client area or in the
// widget of its frame (whose peer must exist by then), or null for kinds that are not widgets
// of the client area.
std::unique_ptr<ControlPeer> createWidgetPeer(Control& control, QWidget* client);

}  // namespace tidex
