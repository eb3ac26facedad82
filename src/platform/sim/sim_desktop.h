#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QStringList>
#include <QTemporaryDir>

#include "platform/desktop.h"
#include "platform/form.h"
#include "platform/sim/sim_remote_delivery.h"
#include "platform/sim/sim_secret_keeper.h"
#include "platform/sim/sim_web.h"
#include "platform/sim/virtual_clock.h"

namespace tidex {

class CheckBox;
class ComboBox;
class CommandButton;
class Label;
class ListView;
class Menu;
class TextBox;
class WebBrowser;

struct Tone {
  int hz = 0;
  std::chrono::milliseconds length{};
  bool operator==(const Tone&) const = default;
};
using Tones = std::vector<Tone>;

// A message box as the simulated user saw it.
struct SimBox {
  QString title;
  BoxStyle style{BoxButtons::Ok};
  QStringList texts;  // every text it showed, first to last
  bool open = true;
  std::optional<BoxResult> result;  // none while open, or when closed unanswered
};

// A desktop notification from the tray icon.
struct SimNotification {
  QString title;
  QString text;
  bool silent = false;
  bool operator==(const SimNotification&) const = default;
};

// The program's tray icon: added while receiver is set, shown while there is also a tray.
struct SimTray {
  bool shown = false;
  QString tip;
  PictureBox* receiver = nullptr;
};

// The simulated desktop: virtual clock, scripted user, and a record of what the program did.
// No display; the web is served in-process (SimWeb). Nothing happens unless the test advances
// the clock or acts.
class SimDesktop : public Desktop {
 public:
  // Starts the clock at a moment such as "2026-12-08 10:00:00".
  explicit SimDesktop(const QString& start = QStringLiteral("2026-12-08 10:00:00"));
  // As above, on an application folder the test keeps: a desktop started on the folder of one
  // that is gone runs the program again on what that run left.
  SimDesktop(const QString& start, QString folder);
  ~SimDesktop() override;

  // Starts the program with its first window, as the desktop would.
  template <class W>
  W& start() {
    W& w = load<W>();
    clock_.runDue();
    return w;
  }
  // Starts a second copy of the program while this one runs.
  template <class W>
  W* startSecondCopy() {
    copy_ = 2;
    W& w = load<W>();
    copy_ = 1;  // what runs next belongs to the first copy
    clock_.runDue();
    return w.isUnloaded() ? nullptr : &w;
  }

  void advance(std::chrono::milliseconds span) { clock_.advance(span); }
  VirtualClock& clock() { return clock_; }

  // The web the simulated browsers reach (see SimWeb).
  SimWeb& web() { return web_; }
  // The server that answers every web address; none (nullptr, as at the start): every
  // connection is refused. The server outlives the desktop or is taken away first.
  void setWebServer(WebServer* server) { web_.setServer(server); }
  // How long each answer takes (200 ms unless set).
  void setNetworkDelay(std::chrono::milliseconds delay) { web_.setNetworkDelay(delay); }
  const std::vector<SimNavigation>& navigations() const { return web_.navigations(); }
  // Every fresh page a browser was given (WebBrowser::Recreate), oldest first.
  const std::vector<SimWeb::FreshPage>& freshPages() const { return web_.freshPages(); }
  // While the browser engine is down, requests still reach the servers but no page completes
  // and no probe of the engine succeeds, whatever page a browser is given.
  void setBrowserEngineDown(bool down) { engineDown_ = down; }
  bool browserEngineDown() const { return engineDown_; }
  // The renderers die: every browser's page goes blank and a load in progress ends unread.
  void killRenderers();
  int engineProbes() const { return engineProbes_; }
  // The receivers of remote notifications.
  SimRemoteDelivery& delivery() { return delivery_; }
  // The desktop's keyring.
  SimSecretKeeper& keyring() { return keyring_; }
  // Navigations pending longer than 60 s of virtual time. Those still stalled when the
  // desktop is destroyed are warned about and recorded: SimWeb::takeStalledAtTeardown().
  std::vector<StalledPage> stalledPages() const { return web_.stalledPages(); }

  // The user. What acts on a control returns false, doing nothing, when the user cannot
  // reach it (Control::reachable: disabled or hidden, or inside a frame that is).
  bool click(CommandButton& button, ModifierKeys keys = ModifierKeys::None);
  bool mouseDown(Label& label, ModifierKeys keys, MouseButton button = MouseButton::Left);
  bool mouseDown(TextBox& box, ModifierKeys keys, MouseButton button = MouseButton::Left);
  void clickMenu(Menu& item);
  bool toggle(CheckBox& box);
  bool type(TextBox& box, const QString& text);  // also refused while the box is locked
  bool focus(TextBox& box);
  // The mouse moves over a picture box to (x, y) in its scale mode, as the tray reports its
  // messages.
  void moveMouse(PictureBox& box, double x, double y);
  // Selects a row of a list (-1: none); chooses the item with this text from a drop-down list
  // (false, doing nothing, when it has none such).
  bool select(ListView& list, int row);
  // Double-clicks a row of a list; presses Enter on the selected row (false when none is).
  bool doubleClick(ListView& list, int row);
  bool pressEnter(ListView& list);
  bool choose(ComboBox& box, const QString& item);
  // Typing into / clicking the element of the page shown in a browser whose name attribute is
  // `element`; false when the browser is out of reach or shows no such element.
  bool typeInPage(WebBrowser& browser, const QString& element, const QString& text);
  bool clickInPage(WebBrowser& browser, const QString& element);
  void resize(Form& form, int width, int height);  // drags the window's frame
  void closeBox(Form& form);                       // the window's close box
  void endSession();                               // the desktop session ends
  void terminate();                                // SIGTERM
  void trayDoubleClick();
  void trayRightClick();
  // The desktop's tray: there unless the test takes it away, before the start or later. A tray
  // that comes shows the icon added meanwhile and tells the program.
  void setTrayPresent(bool present);
  // Answers the newest open message box, now or after a delay.
  void answer(BoxResult result);
  void answerAfter(std::chrono::milliseconds delay, BoxResult result);

  // What the program did.
  const Tones& beeps() const { return tones_; }
  const QStringList& openedUrls() const { return urls_; }
  const std::vector<SimBox>& boxes() const { return boxes_; }
  std::vector<const SimBox*> openBoxes() const;
  // Texts of the message boxes still open when a desktop went away, since the last call: a
  // box nobody answered or closed is a dialog the test did not expect.
  static QStringList takeBoxesOpenAtTeardown();
  const SimTray& tray() const { return trays_[0]; }
  const SimTray& secondCopyTray() const { return trays_[1]; }
  const std::vector<SimNotification>& notifications() const { return notifications_; }
  Form* foreground() const { return foreground_; }
  Menu* lastPopup() const { return lastPopup_; }
  // Window operations in order, such as "restore 准單查詢 1.0.30".
  const QStringList& windowLog() const { return windowLog_; }
  bool ended() const { return ended_; }
  int trims() const { return trims_; }

  void setComputerName(const QString& name) { computerName_ = name; }
  // The settings folder (a fresh temporary folder per desktop, unless the test gave one).
  QString applicationFolder() const override {
    return keptFolder_.isEmpty() ? folder_.path() : keptFolder_;
  }
  QString programFile() const override { return QStringLiteral("/opt/Tidex Port/bin/tidex"); }

  // Desktop
  void post(std::function<void()> fn) override;
  std::unique_ptr<QueuedCall> queue(std::function<void()> fn) override;
  QDateTime now() const override { return clock_.now(); }
  std::unique_ptr<TimerHandle> startTimer(std::chrono::milliseconds period,
                                          std::function<void()> tick) override;
  void attach(Form& form) override;
  void detach(Form& form) override;
  std::unique_ptr<MessageBoxPeer> openMessageBox(const QString& text, BoxStyle style,
                                                 const QString& title,
                                                 std::function<void(BoxResult)> answered) override;
  void trayAdd(PictureBox& receiver, const QString& tip) override;
  void trayRemove() override;
  bool trayPresent() const override { return trayPresent_; }
  void watchTray(Form& watcher, std::function<void()> appeared) override;
  void trayTip(const QString& tip) override;
  std::unique_ptr<QueuedCall> probeBrowserEngine(std::function<void(bool)> answered) override;
  void trayNotify(const QString& title, const QString& text, bool silent) override;
  void beep(int hz, std::chrono::milliseconds length) override { tones_.push_back({hz, length}); }
  void openUrl(const QString& url) override { urls_.push_back(url); }
  RemoteDelivery& remoteDelivery() override { return delivery_; }
  SecretKeeper& secrets() override { return keyring_; }
  bool previousInstance() override { return copy_ == 2; }
  void activateOtherInstance(const QString& caption) override;
  QString computerName() const override { return computerName_; }
  void trimWorkingSet() override { ++trims_; }
  void endProgram() override;
  // Unloaded windows stay readable until the desktop goes, so tests can look at them.
  void retire(std::shared_ptr<Form> window) override;

  // Called by the simulated window peers.
  void logWindow(const QString& operation, const Form& form);
  void activate(Form& form);

 private:
  class FormMirror;
  class TimerMirror;
  class Box;

  bool isSecondCopy(const Form& form) const;
  // Whether the user can act on the control now.
  bool canReach(const Control& control) const { return !ended_ && control.reachable(); }
  // The element of the browser's page the user can reach by name, or -1.
  int pageElement(WebBrowser& browser, const QString& name) const;

  VirtualClock clock_;
  SimWeb web_{clock_};  // outlives the browser peers in mirrors_
  SimRemoteDelivery delivery_{clock_};
  SimSecretKeeper keyring_{clock_};
  QTemporaryDir folder_;
  QString keptFolder_;
  int copy_ = 1;
  std::vector<const Form*> secondCopyForms_;
  std::unordered_map<const Form*, std::vector<std::unique_ptr<ControlPeer>>> mirrors_;
  std::vector<std::shared_ptr<Form>> graveyard_;
  Tones tones_;
  QStringList urls_;
  std::vector<SimBox> boxes_;
  std::vector<Box*> liveBoxes_;
  SimTray trays_[2];
  bool trayPresent_ = true;
  Form* trayWatcher_ = nullptr;
  std::function<void()> trayAppeared_;
  std::vector<SimNotification> notifications_;
  Form* foreground_ = nullptr;
  Menu* lastPopup_ = nullptr;
  QStringList windowLog_;
  QString computerName_ = QStringLiteral("HARBOUR-PC");
  bool ended_ = false;
  bool engineDown_ = false;
  int engineProbes_ = 0;
  int trims_ = 0;
};

}  // namespace tidex
