#pragma once

#include <functional>

#include "platform/control.h"

namespace tidex {

// Units of a picture box's coordinates: 15 twips make a pixel.
enum class ScaleMode { Twips, Pixels };

// The tray icon's mouse messages, which reach the receiving picture box's MouseMove as x, in
// its scale mode.
enum class TrayMouseMessage { Move = 0x200, LeftDoubleClick = 0x203, RightButtonUp = 0x205 };

// A picture box holding an image resource. It also receives the tray icon's mouse events.
class PictureBox final : public Control {
 public:
  PictureBox(Form& owner, QString name, QString picture = {});

  // Resource path of the image (":/tidex.png").
  const QString& Picture() const { return picture_; }
  void setPicture(const QString& resource);
  tidex::ScaleMode ScaleMode() const { return scaleMode_; }
  void setScaleMode(tidex::ScaleMode mode);

  std::function<void(MouseButton button, ModifierKeys keys, double x, double y)> onMouseMove;

 private:
  friend class BackEnd;
  void mouseMove(MouseButton button, ModifierKeys keys, double x, double y);

  QString picture_;
  tidex::ScaleMode scaleMode_ = tidex::ScaleMode::Pixels;
};

}  // namespace tidex
