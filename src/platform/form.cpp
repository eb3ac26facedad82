#include "platform/form.h"

#include "platform/desktop.h"
#include "platform/menu.h"

namespace tidex {

Form::Form(QString name) : name_(std::move(name)) {}

void Form::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  changed();
}

void Form::setVisible(bool on) {
  if (unloaded_ || visible_ == on) return;
  visible_ = on;
  changed();
}

void Form::setWindowState(tidex::WindowState state) {
  if (windowState_ == state) return;
  windowState_ = state;
  changed();
}

void Form::setTopMost(bool on) {
  topMost_ = on;
  changed();
}

void Form::Move(int left, int top) { Move(left, top, geometry_.width, geometry_.height); }

void Form::Move(int left, int top, int width, int height) {
  geometry_ = {left, top, width, height};
  positioned_ = true;
  changed();
}

void Form::Resize(int width, int height) {
  geometry_.width = width;
  geometry_.height = height;
  changed();
}

void Form::restore() {
  if (unloaded_) return;
  visible_ = true;
  if (windowState_ == WindowState::Minimized) windowState_ = WindowState::Normal;
  if (peer_) peer_->restore();
}

void Form::bringToFront() {
  if (!unloaded_ && peer_) peer_->bringToFront();
}

void Form::PopupMenu(Menu& menu) {
  if (!unloaded_ && peer_) peer_->popupMenu(menu);
}

bool Form::requestClose(UnloadReason reason) {
  if (unloaded_) return true;
  int cancel = 0;
  onQueryUnload(cancel, reason);
  if (cancel != 0 || unloaded_) return unloaded_;
  onUnload(cancel);
  if (cancel != 0 || unloaded_) return unloaded_;
  unloadWithoutEvents();
  return true;
}

void Form::unloadWithoutEvents() {
  if (unloaded_) return;
  unloaded_ = true;
  visible_ = false;
  Desktop::current().release(*this);
}

void Form::userResized(int width, int height) {
  geometry_.width = width;
  geometry_.height = height;
  onResize();
}

void Form::userWindowState(tidex::WindowState state) {
  if (windowState_ == state) return;
  windowState_ = state;
  onResize();
}

}  // namespace tidex
