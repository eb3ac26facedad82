#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <utility>

#include <QDateTime>
#include <QString>

#include "platform/task.h"
#include "platform/window_registry.h"

namespace tidex {

class Form;
class PictureBox;
class RemoteDelivery;
class SecretKeeper;

// A running system timer (SetTimer); stops when destroyed.
class TimerHandle {
 public:
  virtual ~TimerHandle() = default;
};

// A call queued on the dispatch loop; destroying it first cancels the call. It may be destroyed
// from inside its own call.
class QueuedCall {
 public:
  virtual ~QueuedCall() = default;
};

// An open standard message box. Destroying it closes the box without an answer.
class MessageBoxPeer {
 public:
  virtual ~MessageBoxPeer() = default;
  // Replaces the message text while the box is open.
  virtual void setText(const QString& text) = 0;
  // Closes the box as its close command does: OK for an OK box, Cancel where there is one.
  virtual void close() = 0;
};

// The buttons of a standard message box, in their order on the box.
enum class BoxButtons { Ok, YesNoCancel, YesNo, CancelTryAgainContinue };
// The button Enter presses.
enum class BoxDefault { First, Second };
// A box's buttons and its default button; plain buttons convert to a style with the first as
// default.
struct BoxStyle {
  BoxStyle(BoxButtons shown, BoxDefault enterPresses = BoxDefault::First)  // NOLINT
      : buttons(shown), defaultButton(enterPresses) {}
  BoxButtons buttons;
  BoxDefault defaultButton;
  bool operator==(const BoxStyle&) const = default;
};
// The button that answered a standard message box.
enum class BoxResult { Ok, Cancel, Yes, No, TryAgain, Continue };
// What closing a box with these buttons answers.
BoxResult closeResultOf(BoxButtons buttons);

// The desktop underneath the windows. One back end is installed per process: the Qt one in
// the program, the simulated one in tests.
class Desktop {
 public:
  static Desktop& current();
  virtual ~Desktop();

  // Creates a window, runs Initialize, registers it and runs Load.
  template <class W, class... Args>
  W& load(Args&&... args) {
    auto window = std::make_unique<W>(std::forward<Args>(args)...);
    W& ref = *window;
    loadWindow(std::move(window));
    return ref;
  }
  WindowRegistry& windows() { return windows_; }
  // Handlers suspended now, of every window and of none.
  std::size_t suspendedHandlers() const;

  // Runs fn from the dispatch loop, after the current handler.
  virtual void post(std::function<void()> fn) = 0;
  // As post, unless the returned call is destroyed first.
  virtual std::unique_ptr<QueuedCall> queue(std::function<void()> fn) = 0;
  virtual QDateTime now() const = 0;
  // A periodic system timer not tied to a control.
  virtual std::unique_ptr<TimerHandle> startTimer(std::chrono::milliseconds period,
                                                  std::function<void()> tick) = 0;

  // Mirrors a window and its controls.
  virtual void attach(Form& form) = 0;
  virtual void detach(Form& form) = 0;

  // Shows a modal box; answered runs (through dispatch) with the result when it closes, never
  // once the box is destroyed.
  virtual std::unique_ptr<MessageBoxPeer> openMessageBox(
      const QString& text, BoxStyle style, const QString& title,
      std::function<void(BoxResult)> answered) = 0;

  // The tray icon; its mouse events reach receiver's MouseMove with the event code as x. Added
  // while the desktop has no tray, it shows as soon as a tray appears.
  virtual void trayAdd(PictureBox& receiver, const QString& tip) = 0;
  virtual void trayRemove() = 0;
  // Whether the desktop has a tray to show the icon in now.
  virtual bool trayPresent() const = 0;
  // appeared runs from the dispatch loop whenever a tray appears where there was none, while
  // watcher is open. One watch at a time: a new one replaces it.
  virtual void watchTray(Form& watcher, std::function<void()> appeared) = 0;
  // Changes the tray icon's tooltip while it is shown.
  virtual void trayTip(const QString& tip) = 0;
  // A desktop notification from the tray icon, only while it is shown; silent: no sound.
  virtual void trayNotify(const QString& title, const QString& text, bool silent) = 0;

  // Queues a tone and returns at once.
  virtual void beep(int hz, std::chrono::milliseconds length) = 0;
  // Has the browser engine render a little page of its own, apart from every window's:
  // answered(true) once it was read, answered(false) when it was not within kEngineProbeLimit.
  // Nothing runs once the returned call is destroyed.
  virtual std::unique_ptr<QueuedCall> probeBrowserEngine(std::function<void(bool)> answered) = 0;
  static constexpr std::chrono::milliseconds kEngineProbeLimit{10000};
  // Opens an address in the user's default browser.
  virtual void openUrl(const QString& url) = 0;
  // Sends the remote notifications (platform/remote_delivery.h); made on first use.
  virtual RemoteDelivery& remoteDelivery() = 0;
  // The desktop's keyring (platform/secret_keeper.h); made on first use.
  virtual SecretKeeper& secrets() = 0;

  // Whether another copy of the program was already running when this one started.
  virtual bool previousInstance() = 0;
  // Restores and brings forward the other copy's top-level window with this caption.
  virtual void activateOtherInstance(const QString& caption) = 0;

  // COMPUTERNAME when set, else the host name.
  virtual QString computerName() const = 0;
  // Gives unused memory back to the system.
  virtual void trimWorkingSet() = 0;
  // Ends the program at once: no close handling of any window.
  virtual void endProgram() = 0;
  // The folder that holds the settings file.
  virtual QString applicationFolder() const = 0;
  // The program file, as the desktop starts it.
  virtual QString programFile() const = 0;
  // Whether the session starts the program (the desktop's autostart entry); setting it writes
  // or removes the entry, false when that failed.
  bool startsWithSession() const;
  bool setStartsWithSession(bool on);

 protected:
  Desktop();
  // Unloads and destroys every window without events and ends every wait (end of program or
  // of a test).
  void destroyAllWindows();
  // Disposes of an unloaded window once the current handler is done with it; its handlers
  // that were running at unload and have suspended since end first.
  virtual void retire(std::shared_ptr<Form> window);
  static void endWaitsOf(Form& form);
  // Takes a window out of the program without events and ends its waits; the caller keeps it
  // until it is safe to destroy (it may be running a handler right now).
  std::unique_ptr<Form> discardWindow(Form& form);

 private:
  friend class Form;
  friend class Task;
  void loadWindow(std::unique_ptr<Form> window);
  // Removes an unloaded window, ends its waits and destroys it after the current handler.
  void release(Form& form);
  // Takes a window out of the registry and its back end.
  std::unique_ptr<Form> takeOut(Form& form);

  WindowRegistry windows_;
  // Suspended handlers that run for no window.
  HandlerSet freeWaits_;
};

}  // namespace tidex
