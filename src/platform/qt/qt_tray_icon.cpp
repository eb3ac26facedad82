#include "platform/qt/qt_tray_icon.h"

#include <algorithm>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPixmap>
#include <QVariantMap>

#include "platform/back_end.h"
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
const QString kNotificationsPath = QStringLiteral("/org/freedesktop/Notifications");

// Whether the service reads a notice's body as markup: asked once, never waited for. Until it
// answers it is taken to: an escaped body shows its entities at worst, never a page's markup.
bool readsMarkup(const QDBusConnection& bus) {
  static bool asked = false;
  static bool markup = true;  // the dispatch loop's thread only
  if (!asked) {
    asked = true;
    auto* watcher = new QDBusPendingCallWatcher(
        bus.asyncCall(QDBusMessage::createMethodCall(
            kNotifications, kNotificationsPath, kNotifications, QStringLiteral("GetCapabilities"))),
        QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [](QDBusPendingCallWatcher* answered) {
                       const QDBusPendingReply<QStringList> reply = *answered;
                       if (!reply.isError()) {
                         markup = reply.value().contains(QStringLiteral("body-markup"));
                       }
                       answered->deleteLater();
                     });
  }
  return markup;
}

// Through the desktop's notification service, when one runs or the bus can start one; false
// when there is none. showMessage would reach the same service with the body as it is (a D-Bus
// tray) and cannot ask for silence. The summary is plain text; the body is escaped for a
// service that reads markup.
bool notifyThroughService(const QString& title, const QString& text, bool silent) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  QDBusConnectionInterface* services = bus.isConnected() ? bus.interface() : nullptr;
  if (!services || !(services->isServiceRegistered(kNotifications).value() ||
                     services->activatableServiceNames().value().contains(kNotifications))) {
    return false;
  }
  const QString body = readsMarkup(bus) ? text.toHtmlEscaped() : text;
  QVariantMap hints;
  if (silent) hints.insert(QStringLiteral("suppress-sound"), true);
  QDBusMessage call = QDBusMessage::createMethodCall(kNotifications, kNotificationsPath,
                                                     kNotifications, QStringLiteral("Notify"));
  call << QCoreApplication::applicationName() << 0u << QStringLiteral("dialog-information") << title
       << body << QStringList() << hints << kNotificationMs;
  return bus.send(call);
}

constexpr int kTrayPollMs = 1000;

}  // namespace

QtTrayIcon::QtTrayIcon(Desktop& desktop) : desktop_(desktop) {
  triggerWait_.setSingleShot(true);
  connect(&triggerWait_, &QTimer::timeout, this, [this] {
    if (!sawDoubleClick_) deliver(TrayMouseMessage::LeftDoubleClick);
  });
  connect(&trayWait_, &QTimer::timeout, this, &QtTrayIcon::checkForTray);
  if (!trayPresent()) trayWait_.start(kTrayPollMs);
}

QtTrayIcon::~QtTrayIcon() { remove(); }

void QtTrayIcon::add(PictureBox& receiver, const QString& tip) {
  receiver_ = &receiver;
  receiverForm_ = &receiver.owner();
  tip_ = tip;
  if (!trayWait_.isActive()) showIcon();
}

void QtTrayIcon::showIcon() {
  if (!receiver_) return;
  if (!icon_) {
    icon_ = new QSystemTrayIcon(this);
    icon_->setObjectName(QStringLiteral("TrayIcon"));
    connect(icon_, &QSystemTrayIcon::activated, this, &QtTrayIcon::activated);
  }
  icon_->setIcon(iconOf(*receiver_));
  icon_->setToolTip(tip_);
  icon_->show();
}

bool QtTrayIcon::trayPresent() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtTrayIcon::watch(Form& watcher, std::function<void()> appeared) {
  watcher_ = &watcher;
  appeared_ = std::move(appeared);
}

void QtTrayIcon::checkForTray() {
  if (!trayPresent()) return;
  trayWait_.stop();
  showIcon();
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (appeared_ && isOpen(watcher_)) appeared_();
      },
      Qt::QueuedConnection);
}

bool QtTrayIcon::isOpen(const Form* form) const {
  const auto windows = desktop_.windows().all();
  return std::find(windows.begin(), windows.end(), form) != windows.end() && !form->isUnloaded();
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
  if (notifyThroughService(title, text, silent)) return;
  // Qt's own balloon, which shows both as plain text.
  icon_->showMessage(title, text, QSystemTrayIcon::Information, kNotificationMs);
}

void QtTrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::DoubleClick:
      sawDoubleClick_ = true;
      triggerWait_.stop();
      deliver(TrayMouseMessage::LeftDoubleClick);
      break;
    case QSystemTrayIcon::Trigger:
      if (!sawDoubleClick_) triggerWait_.start(QApplication::doubleClickInterval() + 100);
      break;
    case QSystemTrayIcon::Context:
      deliver(TrayMouseMessage::RightButtonUp);
      break;
    default:
      break;
  }
}

void QtTrayIcon::deliver(TrayMouseMessage message) {
  QMetaObject::invokeMethod(
      this,
      [this, message] {
        // The receiver's window may have gone without removing the icon.
        if (receiver_ && isOpen(receiverForm_)) {
          BackEnd::mouseMoved(*receiver_, MouseButton::None, ModifierKeys::None,
                              static_cast<int>(message), 0);
        }
      },
      Qt::QueuedConnection);
}

}  // namespace tidex
