#include "platform/qt/qt_form_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

#include "platform/back_end.h"
#include "platform/qt/qt_menu_peer.h"

namespace tidex {
namespace {

WindowState formStateOf(Qt::WindowStates states) {
  if (states & Qt::WindowMinimized) return WindowState::Minimized;
  if (states & (Qt::WindowMaximized | Qt::WindowFullScreen)) return WindowState::Maximized;
  return WindowState::Normal;
}

bool sameGeometry(const Geometry& a, const Geometry& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

}  // namespace

FormWindow::FormWindow(Form& form)
    : form_(&form), client_(new QWidget(this)), geometry_{-1, -1, -1, -1} {
  setObjectName(form.Name());
  client_->setObjectName(form.Name() + QStringLiteral("_client"));
  setCentralWidget(client_);
  client_->installEventFilter(this);
}

void FormWindow::updateMenuBar() {
  QMenuBar* bar = qobject_cast<QMenuBar*>(menuWidget());
  if (!bar) return;
  bool any = false;
  for (const QAction* action : bar->actions()) any = any || action->isVisible();
  if (bar->isHidden() != !any) {
    bar->setHidden(!any);
    applyGeometry();
  }
}

void FormWindow::release() {
  form_ = nullptr;
  hide();
}

void FormWindow::sync() {
  if (!form_) return;
  if (caption_ != form_->Caption()) {
    caption_ = form_->Caption();
    // "[*]" alone would be taken for the unsaved-changes mark and not shown.
    setWindowTitle(QString(caption_).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
  }
  if (topMost_ != form_->TopMost()) {
    topMost_ = form_->TopMost();
    const bool shown = isVisible();
    if (topMost_ && keptOnTop_) {
      // On top by its own wish from now on (an alert). Shown anew, as a change of the flag
      // would, so that it takes the focus the alert asks for at once.
      keptOnTop_ = false;
      if (shown) hide();
    } else {
      setWindowFlag(Qt::WindowStaysOnTopHint, topMost_ || keptOnTop_);  // hides the window
    }
    if (shown) show();
  }
  if (!sameGeometry(geometry_, form_->geometry())) {
    geometry_ = form_->geometry();
    applyGeometry();
  }
  if (state_ != form_->WindowState()) {
    state_ = form_->WindowState();
    applyWindowState();
  }
  if (visible_ != form_->Visible()) {
    visible_ = form_->Visible();
    if (visible_ && !topMost_ && !keptOnTop_ && anotherOnTopIsShown()) {
      keptOnTop_ = true;
      setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    setVisible(visible_);
    if (visible_ && keptOnTop_) {
      raise();
      activateWindow();
    }
  }
}

// The console and an alerting monitor stay on top: a window shown while one of them is on
// screen would open beneath it, unseen, so it is kept on top as well (and, shown last, it
// opens above them).
bool FormWindow::anotherOnTopIsShown() const {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    const auto* other = dynamic_cast<const FormWindow*>(widget);
    if (other && other != this && other->isVisible() && !other->isMinimized() &&
        (other->topMost_ || other->keptOnTop_)) {
      return true;
    }
  }
  return false;
}

int FormWindow::menuBarHeight() const {
  const QWidget* bar = menuWidget();
  return bar && !bar->isHidden() ? bar->sizeHint().height() : 0;
}

void FormWindow::applyGeometry() {
  if (geometry_.width < 0) return;
  resize(geometry_.width, geometry_.height + menuBarHeight());
  if (form_ && form_->positioned()) {
    move(geometry_.left, geometry_.top);
  } else if (!cascaded_) {
    cascaded_ = true;
    move(nextCascadePosition());
  }
}

// Windows whose position is left to the desktop open one step down and right of the one
// before, so a new monitor never hides the last exactly; with a window manager that places
// windows itself, this is only a first suggestion.
QPoint FormWindow::nextCascadePosition() {
  static int step = 0;
  constexpr int kStep = 32;
  constexpr int kSteps = 10;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QPoint origin = screen ? screen->availableGeometry().topLeft() : QPoint(0, 0);
  const int offset = kStep * (step++ % kSteps);
  return origin + QPoint(offset, offset);
}

void FormWindow::applyWindowState() {
  Qt::WindowStates states =
      windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
  if (state_ == WindowState::Minimized) states |= Qt::WindowMinimized;
  if (state_ == WindowState::Maximized) states |= Qt::WindowMaximized;
  setWindowState(states);
}

void FormWindow::restore() {
  if (!form_) return;
  visible_ = true;
  state_ = form_->WindowState();
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
}

void FormWindow::bringToFront() {
  if (!form_ || !isVisible()) return;
  raise();
  activateWindow();
}

void FormWindow::popupMenu(Menu& menu) {
  if (auto* peer = dynamic_cast<MenuPeer*>(menu.peer())) peer->popup(QCursor::pos());
}

void FormWindow::later(std::function<void(Form&)> fn) {
  QMetaObject::invokeMethod(
      this,
      [this, fn = std::move(fn)] {
        if (form_) fn(*form_);
      },
      Qt::QueuedConnection);
}

bool FormWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) later([](Form& form) { BackEnd::activated(form); });
  return QMainWindow::event(event);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize && !isMinimized()) {
    const QSize size = client_->size();
    if (size.width() != geometry_.width || size.height() != geometry_.height) {
      geometry_.width = size.width();
      geometry_.height = size.height();
      later([size](Form& form) { BackEnd::resized(form, size.width(), size.height()); });
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void FormWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    const WindowState state = formStateOf(windowState());
    if (state != state_) {
      state_ = state;
      later([state](Form& form) { BackEnd::windowStateChanged(form, state); });
    }
  }
  QMainWindow::changeEvent(event);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The form decides: a close only asks it; if it unloads, the desktop deletes the window.
  event->ignore();
  later([](Form& form) { form.requestClose(UnloadReason::UserClose); });
}

}  // namespace tidex
