#pragma once

#include <functional>

#include "platform/control.h"

namespace tidex {

// A picture box holding an image resource. It also receives the tray icon's mouse events.
class PictureBox final : public Control {
 public:
  // Scale modes: 1 twips, 3 pixels.
  enum ScaleModes : int { Twips = 1, Pixels = 3 };

  PictureBox(Form& owner, QString name, QString picture = {});

  // Resource path of the image (":/tidex.png").
  const QString& Picture() const { return picture_; }
  void setPicture(const QString& resource);
  int ScaleMode() const { return scaleMode_; }
  void setScaleMode(int mode);

  std::function<void(int button, int shift, double x, double y)> onMouseMove;

 private:
  friend class BackEnd;
  void mouseMove(int button, int shift, double x, double y);

  QString picture_;
  int scaleMode_ = Pixels;
};

}  // namespace tidex
