#include "platform/qt/qt_widget_peer.h"

#include <QPalette>

#include "platform/frame.h"

namespace tidex {

ModifierKeys modifierKeysOf(Qt::KeyboardModifiers modifiers) {
  ModifierKeys keys = ModifierKeys::None;
  if (modifiers & Qt::ShiftModifier) keys |= ModifierKeys::Shift;
  if (modifiers & Qt::ControlModifier) keys |= ModifierKeys::Ctrl;
  if (modifiers & Qt::AltModifier) keys |= ModifierKeys::Alt;
  return keys;
}

MouseButton mouseButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return MouseButton::Left;
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::MiddleButton:
      return MouseButton::Middle;
    default:
      return MouseButton::None;
  }
}

void applyForeColour(QWidget& widget, const Colour& colour) {
  if (colour.isSystem) {
    widget.setPalette(QPalette());
    return;
  }
  QPalette palette = widget.palette();
  const QColor rgb(colour.red(), colour.green(), colour.blue());
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, rgb);
    palette.setColor(group, QPalette::ButtonText, rgb);
    palette.setColor(group, QPalette::Text, rgb);
  }
  widget.setPalette(palette);
}

WidgetPeer::WidgetPeer(Control& control, QWidget* widget) : control_(control) { adopt(widget); }

QWidget* WidgetPeer::parentFor(const Control& control, QWidget* client) {
  const Control* frame = control.container();
  const auto* peer = frame ? dynamic_cast<const WidgetPeer*>(frame->peer()) : nullptr;
  return peer && peer->widget_ ? peer->widget_.data() : client;
}

QWidget* WidgetPeer::widgetOf(const Control& control) {
  const auto* peer = dynamic_cast<const WidgetPeer*>(control.peer());
  return peer ? peer->widget_.data() : nullptr;
}

WidgetPeer::~WidgetPeer() {
  if (widget_) widget_->removeEventFilter(this);
}

void WidgetPeer::adopt(QWidget* widget) {
  widget_ = widget;
  widget->setObjectName(control_.Name());
  widget->installEventFilter(this);
}

void WidgetPeer::replaceWidget(QWidget* widget) {
  if (widget_) {
    widget_->removeEventFilter(this);
    widget_->disconnect(this);
    widget_->hide();
    widget_->deleteLater();
  }
  adopt(widget);
}

void WidgetPeer::syncCommon(const QString& fallbackName) {
  QWidget* w = widget_;
  if (!w) return;
  // Placed in a frame after the window was loaded: move the widget into the frame's.
  if (QWidget* parent = parentFor(control_, w->parentWidget()); parent != w->parentWidget()) {
    w->setParent(parent);
    w->setVisible(control_.Visible());
  }
  const Geometry& g = control_.geometry();
  const QRect rect(g.left, g.top, g.width, g.height);
  if (w->geometry() != rect) w->setGeometry(rect);
  // The control's own state; a disabled frame disables the widget as well, as Qt's parent.
  if (w->testAttribute(Qt::WA_ForceDisabled) == control_.Enabled()) {
    w->setEnabled(control_.Enabled());
  }
  if (w->isHidden() == control_.Visible()) w->setVisible(control_.Visible());
  const QString name =
      control_.accessibleName().isEmpty() ? fallbackName : control_.accessibleName();
  if (w->accessibleName() != name) w->setAccessibleName(name);
}

}  // namespace tidex
