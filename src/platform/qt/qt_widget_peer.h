#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/colour.h"
#include "platform/control.h"

namespace tidex {

// The modifier keys of Qt's keyboard modifiers.
ModifierKeys modifierKeysOf(Qt::KeyboardModifiers modifiers);
// The mouse button of a Qt mouse button; None for others.
MouseButton mouseButtonOf(Qt::MouseButton button);
// Sets the text colour of a widget: the style's own for system colours, else the RGB value.
void applyForeColour(QWidget& widget, const Colour& colour);

// Mirrors what every windowed control has: object name, enabled, visible, placement (as a
// child of its frame's widget when it is in a frame) and accessible name. Subclasses mirror the
// rest and report what the user does.
class WidgetPeer : public QObject, public ControlPeer {
 public:
  WidgetPeer(Control& control, QWidget* widget);
  ~WidgetPeer() override;

  // The widget a control's widget is a child of: its frame's, else the window's client area.
  static QWidget* parentFor(const Control& control, QWidget* client);
  // The widget mirroring a control; null while it has none.
  static QWidget* widgetOf(const Control& control);

 protected:
  // Brings the common state up to date; fallbackName is announced when no accessible name
  // is set (usually the caption).
  void syncCommon(const QString& fallbackName);
  QWidget* widget() const { return widget_; }
  // Swaps in another widget for the control (the old one is deleted later).
  void replaceWidget(QWidget* widget);

 private:
  void adopt(QWidget* widget);

  Control& control_;
  QPointer<QWidget> widget_;
};

}  // namespace tidex
