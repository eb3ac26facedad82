#include "platform/qt/qt_tray_icon.h"

#include <algorithm>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QPixmap>
#include <QVariantMap>

#include "platform/form.h"

namespace tidex {
namespace {

QIcon iconOf(const PictureBox& receiver) {
  QPixmap picture(receiver.Picture());
  if (picture.isNull()) picture.load(QStringLiteral(":/tidex.png"));
  if (picture.isNull()) {
    // Without the resource a plain square still gives the user something to click.
    picture = QPixmap(32, 32);
    picture.fill(QColor(0x1f, 0x5f, 0xa8));
  }
  return QIcon(picture);
}

constexpr int kNotificationMs = 10000;
const QString kNotifications = QStringLiteral("org.freedesktop.Notifications");

// showMessage cannot ask for silence; the desktop's notification service takes a hint for it.
bool notifySilently(const QString& title, const QString& text) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface() ||
      !bus.interface()->isServiceRegistered(kNotifications).value()) {
    return false;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      kNotifications, QStringLiteral("/org/freedesktop/Notifications"), kNotifications,
      QStringLiteral("Notify"));
  call << QCoreApplication::applicationName() << 0u << QString() << title << text << QStringList()
       << QVariantMap{{QStringLiteral("suppress-sound"), true}} << kNotificationMs;
  return bus.send(call);
}

}  // namespace

QtTrayIcon::QtTrayIcon(Desktop& desktop) : desktop_(desktop) {
  triggerWait_.setSingleShot(true);
  connect(&triggerWait_, &QTimer::timeout, this, [this] {
    if (!sawDoubleClick_) deliver(LeftDoubleClick);
  });
}

QtTrayIcon::~QtTrayIcon() { remove(); }

void QtTrayIcon::add(PictureBox& receiver, const QString& tip) {
  receiver_ = &receiver;
  receiverForm_ = &receiver.owner();
  tip_ = tip;
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;  // state kept, nothing shown
  if (!icon_) {
    icon_ = new QSystemTrayIcon(this);
    icon_->setObjectName(QStringLiteral("TrayIcon"));
    connect(icon_, &QSystemTrayIcon::activated, this, &QtTrayIcon::activated);
  }
  icon_->setIcon(iconOf(receiver));
  icon_->setToolTip(tip);
  icon_->show();
}

void QtTrayIcon::setTip(const QString& tip) {
  if (!receiver_) return;
  tip_ = tip;
  if (icon_) icon_->setToolTip(tip);
}

void QtTrayIcon::remove() {
  receiver_ = nullptr;
  receiverForm_ = nullptr;
  triggerWait_.stop();
  if (!icon_) return;
  icon_->hide();
  icon_->disconnect(this);
  icon_->deleteLater();
  icon_ = nullptr;
}

void QtTrayIcon::notify(const QString& title, const QString& text, bool silent) {
  if (!receiver_ || !icon_ || !icon_->isVisible()) return;
  if (silent && notifySilently(title, text)) return;
  icon_->showMessage(title, text, QSystemTrayIcon::Information, kNotificationMs);
}

void QtTrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::DoubleClick:
      sawDoubleClick_ = true;
      triggerWait_.stop();
      deliver(LeftDoubleClick);
      break;
    case QSystemTrayIcon::Trigger:
      if (!sawDoubleClick_) triggerWait_.start(QApplication::doubleClickInterval() + 100);
      break;
    case QSystemTrayIcon::Context:
      deliver(RightButtonUp);
      break;
    default:
      break;
  }
}

void QtTrayIcon::deliver(int message) {
  QMetaObject::invokeMethod(
      this,
      [this, message] {
        if (!receiver_) return;
        // The receiver's window may have gone without removing the icon.
        const auto windows = desktop_.windows().all();
        if (std::find(windows.begin(), windows.end(), receiverForm_) == windows.end()) return;
        receiver_->mouseMove(0, 0, message, 0);
      },
      Qt::QueuedConnection);
}

}  // namespace tidex
