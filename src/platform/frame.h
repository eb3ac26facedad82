#pragma once

#include <QStringList>

#include "platform/control.h"

namespace tidex {

// A captioned group box that contains controls of its window. A contained control's geometry
// is relative to the frame; while the frame is disabled or hidden, nothing inside it can be
// reached by mouse or keyboard (the controls keep their own Enabled and Visible).
//
// A control is put inside a frame where it is declared, after the frame:
//   Frame pageFrame{*this, "pageFrame"};
//   WebBrowser pageBrowser{*this, pageFrame.holds("pageBrowser")};
// or from code, also once the window is up, with control.placeIn(frame).
class Frame final : public Control {
 public:
  Frame(Form& owner, QString name, QString caption = {});

  const QString& Caption() const { return caption_; }
  void setCaption(const QString& caption);

  // Claims the control of this name that the window declares later; returns the name.
  QString holds(QString name);
  bool holdsName(const QString& name) const { return held_.contains(name); }

 private:
  QString caption_;
  QStringList held_;
};

}  // namespace tidex
