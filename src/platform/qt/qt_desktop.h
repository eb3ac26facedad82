#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include <QObject>
#include <QPointer>

#include "platform/desktop.h"
#include "platform/form.h"

namespace tidex {

class FormWindow;
class QtSessionEnd;
class QtSingleInstance;
class QtRemoteDelivery;
class QtSecretKeeper;
class QtTonePlayer;
class QtTrayIcon;

// The desktop of the real program: Qt widgets, timers, tray, sound and the single-instance
// socket. Construct it after the QApplication and before loading the first window.
class QtDesktop final : public Desktop {
 public:
  QtDesktop();
  ~QtDesktop() override;

  void post(std::function<void()> fn) override;
  std::unique_ptr<QueuedCall> queue(std::function<void()> fn) override;
  QDateTime now() const override;
  std::unique_ptr<TimerHandle> startTimer(std::chrono::milliseconds period,
                                          std::function<void()> tick) override;

  void attach(Form& form) override;
  void detach(Form& form) override;

  std::unique_ptr<MessageBoxPeer> openMessageBox(const QString& text, BoxStyle style,
                                                 const QString& title,
                                                 std::function<void(BoxResult)> answered) override;

  void trayAdd(PictureBox& receiver, const QString& tip) override;
  void trayRemove() override;
  bool trayPresent() const override;
  void watchTray(Form& watcher, std::function<void()> appeared) override;
  void trayTip(const QString& tip) override;
  std::unique_ptr<QueuedCall> probeBrowserEngine(std::function<void(bool)> answered) override;
  void trayNotify(const QString& title, const QString& text, bool silent) override;
  void beep(int hz, std::chrono::milliseconds length) override;
  void openUrl(const QString& url) override;
  RemoteDelivery& remoteDelivery() override;
  SecretKeeper& secrets() override;

  bool previousInstance() override;
  void activateOtherInstance(const QString& caption) override;

  QString computerName() const override;
  void trimWorkingSet() override;
  void endProgram() override;
  QString applicationFolder() const override { return folder_; }
  QString programFile() const override;

  // The window that mirrors a form, or null.
  FormWindow* windowOf(const Form& form) const;

 private:
  struct Mirror {
    QPointer<FormWindow> window;
    std::vector<std::unique_ptr<ControlPeer>> peers;
  };

  void bringForward(const QString& caption);
  void sessionEnding(UnloadReason reason);

  QString folder_;
  QObject dispatcher_;
  std::unordered_map<const Form*, Mirror> mirrors_;
  std::unique_ptr<QtTrayIcon> tray_;
  std::unique_ptr<QtTonePlayer> tones_;
  std::unique_ptr<QtRemoteDelivery> delivery_;  // only once a target is sent to
  std::unique_ptr<QtSecretKeeper> secrets_;     // only once a target's secret is kept
  std::unique_ptr<QtSingleInstance> instance_;
  std::unique_ptr<QtSessionEnd> sessionEnd_;
};

}  // namespace tidex
