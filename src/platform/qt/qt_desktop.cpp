#include "platform/qt/qt_desktop.h"

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QSysInfo>
#include <QUrl>

#include "platform/back_end.h"
#include "platform/qt/qt_apprise_files.h"
#include "platform/qt/qt_control_widgets.h"
#include "platform/qt/qt_engine_probe.h"
#include "platform/qt/qt_form_window.h"
#include "platform/qt/qt_menu_peer.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_remote_delivery.h"
#include "platform/qt/qt_secret_keeper.h"
#include "platform/qt/qt_session_end.h"
#include "platform/qt/qt_single_instance.h"
#include "platform/qt/qt_timers.h"
#include "platform/qt/qt_tone_player.h"
#include "platform/qt/qt_tray_icon.h"

namespace tidex {
namespace {

// The folder and any parents it needs, each one it creates its owner's alone.
void MakePrivateFolder(const QString& path) {
  QStringList missing;
  for (QFileInfo info(QDir(path).absolutePath()); !info.exists() && !info.isRoot();
       info = QFileInfo(info.absolutePath())) {
    missing.prepend(info.absoluteFilePath());
  }
  for (const QString& folder : missing) {
    if (!QDir().mkdir(folder)) return;
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
}

// TIDEX_HOME when set; else the program's own folder, as long as it is the program's to write:
// an installed program (its desktop entry beside it in share/applications) or one in a folder
// it cannot write keeps its settings in the user's configuration folder.
QString settingsFolder() {
  QString folder = qEnvironmentVariable("TIDEX_HOME");
  if (folder.isEmpty()) {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const bool installed =
        QFileInfo::exists(programFolder + QStringLiteral("/../share/applications/tidex.desktop"));
    if (!installed && QFileInfo(programFolder).isWritable()) return programFolder;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
    folder = config + QStringLiteral("/Tidex");
  }
  MakePrivateFolder(folder);
  return QDir(folder).absolutePath();
}

int frameDepth(const Control& control) {
  int depth = 0;
  for (const Control* c = control.container(); c; c = c->container()) ++depth;
  return depth;
}

// A queued call aimed at an object of its own: destroying the call removes the event, and the
// object goes through deleteLater, so the call may end itself from inside.
class QtQueuedCall final : public QueuedCall {
 public:
  explicit QtQueuedCall(std::function<void()> fn) : target_(new QObject) {
    QObject* target = target_;
    QMetaObject::invokeMethod(
        target,
        [target, fn = std::move(fn)] {
          target->deleteLater();
          fn();
        },
        Qt::QueuedConnection);
  }
  ~QtQueuedCall() override {
    if (!target_) return;
    QCoreApplication::removePostedEvents(target_, QEvent::MetaCall);
    target_->deleteLater();
  }

 private:
  QPointer<QObject> target_;
};

}  // namespace

QtDesktop::QtDesktop()
    : folder_(settingsFolder()),
      tray_(std::make_unique<QtTrayIcon>(*this)),
      tones_(std::make_unique<QtTonePlayer>()),
      instance_(std::make_unique<QtSingleInstance>(
          QtSingleInstance::serverNameFor(QCoreApplication::applicationFilePath(), folder_),
          [this](const QString& caption) { bringForward(caption); })),
      sessionEnd_(
          std::make_unique<QtSessionEnd>([this](UnloadReason reason) { sessionEnding(reason); })) {
  // Only the first copy: a later one hands over and ends at once.
  if (!instance_->previousInstance()) RemoveLeftoverAppriseConfigs();
}

QtDesktop::~QtDesktop() {
  destroyAllWindows();
  delivery_.reset();
  secrets_.reset();
  sessionEnd_.reset();
  instance_.reset();
  tray_.reset();
  tones_.reset();
}

void QtDesktop::post(std::function<void()> fn) {
  QMetaObject::invokeMethod(&dispatcher_, std::move(fn), Qt::QueuedConnection);
}

std::unique_ptr<QueuedCall> QtDesktop::queue(std::function<void()> fn) {
  return std::make_unique<QtQueuedCall>(std::move(fn));
}

RemoteDelivery& QtDesktop::remoteDelivery() {
  if (!delivery_) delivery_ = std::make_unique<QtRemoteDelivery>();
  return *delivery_;
}

SecretKeeper& QtDesktop::secrets() {
  if (!secrets_) secrets_ = std::make_unique<QtSecretKeeper>();
  return *secrets_;
}

QDateTime QtDesktop::now() const { return QDateTime::currentDateTime(); }

std::unique_ptr<TimerHandle> QtDesktop::startTimer(std::chrono::milliseconds period,
                                                   std::function<void()> tick) {
  return std::make_unique<QtTimerHandle>(period, std::move(tick));
}

void QtDesktop::attach(Form& form) {
  auto* window = new FormWindow(form);
  Mirror& mirror = mirrors_[&form];
  mirror.window = window;
  bool hasMenus = false;
  // Frames before what they contain, so each widget starts out inside its frame's widget.
  std::vector<Control*> controls = form.controls();
  std::stable_sort(controls.begin(), controls.end(), [](const Control* a, const Control* b) {
    return frameDepth(*a) < frameDepth(*b);
  });
  for (Control* control : controls) {
    if (control->kind() == Control::Kind::Menu) {
      hasMenus = true;
      continue;
    }
    std::unique_ptr<ControlPeer> peer;
    if (control->kind() == Control::Kind::Timer) {
      peer = std::make_unique<TimerPeer>(static_cast<Timer&>(*control));
    } else {
      peer = createWidgetPeer(*control, window->client());
    }
    if (!peer) continue;
    BackEnd::setPeer(*control, peer.get());
    mirror.peers.push_back(std::move(peer));
  }
  if (hasMenus) {
    QPointer<FormWindow> guard(window);
    auto menus = createMenuPeers(form.controls(), *window->menuBar(), window, [guard] {
      if (guard) guard->updateMenuBar();
    });
    for (auto& peer : menus) mirror.peers.push_back(std::move(peer));
    window->updateMenuBar();
  }
  BackEnd::setPeer(form, window);
  window->sync();
}

void QtDesktop::detach(Form& form) {
  auto it = mirrors_.find(&form);
  if (it == mirrors_.end()) return;
  for (Control* control : form.controls()) BackEnd::setPeer(*control, nullptr);
  BackEnd::setPeer(form, nullptr);
  Mirror mirror = std::move(it->second);
  mirrors_.erase(it);
  mirror.peers.clear();
  if (mirror.window) {
    mirror.window->release();
    mirror.window->deleteLater();
  }
}

FormWindow* QtDesktop::windowOf(const Form& form) const {
  auto it = mirrors_.find(&form);
  return it == mirrors_.end() ? nullptr : it->second.window.data();
}

std::unique_ptr<MessageBoxPeer> QtDesktop::openMessageBox(const QString& text, BoxStyle style,
                                                          const QString& title,
                                                          std::function<void(BoxResult)> answered) {
  return std::make_unique<QtMessageBox>(*this, text, style, title, std::move(answered));
}

void QtDesktop::trayAdd(PictureBox& receiver, const QString& tip) { tray_->add(receiver, tip); }

void QtDesktop::trayRemove() { tray_->remove(); }

bool QtDesktop::trayPresent() const { return QtTrayIcon::trayPresent(); }

void QtDesktop::watchTray(Form& watcher, std::function<void()> appeared) {
  tray_->watch(watcher, std::move(appeared));
}

void QtDesktop::trayTip(const QString& tip) { tray_->setTip(tip); }

std::unique_ptr<QueuedCall> QtDesktop::probeBrowserEngine(std::function<void(bool)> answered) {
  return std::make_unique<QtEngineProbe>(kEngineProbeLimit, std::move(answered));
}

void QtDesktop::trayNotify(const QString& title, const QString& text, bool silent) {
  tray_->notify(title, text, silent);
}

void QtDesktop::beep(int hz, std::chrono::milliseconds length) { tones_->beep(hz, length); }

void QtDesktop::openUrl(const QString& url) {
  QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

bool QtDesktop::previousInstance() { return instance_ && instance_->previousInstance(); }

void QtDesktop::activateOtherInstance(const QString& caption) {
  if (instance_) instance_->activateOther(caption);
}

void QtDesktop::bringForward(const QString& caption) {
  Form* form = windows().findByCaption(caption);
  if (!form) return;
  form->restore();
  form->bringToFront();
}

QString QtDesktop::computerName() const {
  const QString name = qEnvironmentVariable("COMPUTERNAME");
  return name.isEmpty() ? QSysInfo::machineHostName() : name;
}

void QtDesktop::trimWorkingSet() { ::malloc_trim(0); }

void QtDesktop::endProgram() {
  tray_->remove();
  instance_.reset();       // the first copy's socket file goes with it
  RemoveAppriseConfigs();  // no destructor runs from here on
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(0);
}

void QtDesktop::sessionEnding(UnloadReason reason) {
  const auto all = windows().all();
  if (all.empty() || all.front()->requestClose(reason)) endProgram();
}

QString QtDesktop::programFile() const { return QCoreApplication::applicationFilePath(); }

}  // namespace tidex
