#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <utility>

#include "platform/back_end.h"
#include "platform/check_box.h"
#include "platform/command_button.h"
#include "platform/label.h"
#include "platform/menu.h"
#include "platform/picture_box.h"
#include "platform/sim/sim_browser.h"
#include "platform/text_box.h"
#include "platform/timer.h"
#include "platform/web_browser.h"

namespace tidex {

class SimDesktop::FormMirror final : public FormPeer {
 public:
  FormMirror(SimDesktop& desk, Form& form)
      : desk_(desk), form_(form), visible_(form.Visible()), topMost_(form.TopMost()) {}

  void sync() override {
    if (form_.Visible() != visible_) {
      visible_ = form_.Visible();
      desk_.logWindow(visible_ ? QStringLiteral("show") : QStringLiteral("hide"), form_);
      if (visible_) desk_.activate(form_);
    }
    if (form_.TopMost() != topMost_) {
      topMost_ = form_.TopMost();
      desk_.logWindow(topMost_ ? QStringLiteral("topmost") : QStringLiteral("notopmost"), form_);
    }
  }
  void restore() override {
    desk_.logWindow(QStringLiteral("restore"), form_);
    visible_ = true;
  }
  void bringToFront() override {
    desk_.logWindow(QStringLiteral("front"), form_);
    if (form_.Visible()) desk_.activate(form_);
  }
  void popupMenu(Menu& menu) override {
    desk_.logWindow(QStringLiteral("popup ") + menu.Name(), form_);
    desk_.lastPopup_ = &menu;
  }

 private:
  SimDesktop& desk_;
  Form& form_;
  bool visible_;
  bool topMost_;
};

class SimDesktop::TimerMirror final : public ControlPeer {
 public:
  TimerMirror(VirtualClock& clock, Timer& timer) : clock_(clock), timer_(timer) { sync(); }
  ~TimerMirror() override { stop(); }

  void sync() override {
    stop();
    if (!timer_.running()) return;
    pending_ = clock_.schedule(timer_.Interval(), [this] {
      pending_ = 0;
      sync();  // next period first: the handler may change the timer
      BackEnd::elapsed(timer_);
    });
  }

 private:
  void stop() {
    if (pending_) clock_.cancel(pending_);
    pending_ = 0;
  }
  VirtualClock& clock_;
  Timer& timer_;
  VirtualClock::EventId pending_ = 0;
};

class SimDesktop::Box final : public MessageBoxPeer {
 public:
  Box(SimDesktop& desk, std::size_t index, std::function<void(BoxResult)> answered)
      : desk_(desk), index_(index), answered_(std::move(answered)) {
    desk_.liveBoxes_.push_back(this);
  }
  ~Box() override {
    std::erase(desk_.liveBoxes_, this);
    record().open = false;
  }
  void setText(const QString& text) override {
    if (record().open) record().texts.push_back(text);
  }
  void close() override { finish(closeResultOf(record().style.buttons)); }

  void finish(BoxResult result) {
    if (!record().open) return;
    record().open = false;
    record().result = result;
    // The answer may resume a handler that destroys this box: nothing here is touched after it.
    answer_ = desk_.queue([this, result] {
      auto answered = std::move(answered_);
      answered(result);
    });
  }
  SimBox& record() { return desk_.boxes_[index_]; }

 private:
  SimDesktop& desk_;
  std::size_t index_;
  std::function<void(BoxResult)> answered_;
  std::unique_ptr<QueuedCall> answer_;
};

SimDesktop::SimDesktop(const QString& start)
    : clock_(QDateTime::fromString(start, QStringLiteral("yyyy-MM-dd HH:mm:ss"))) {}

SimDesktop::SimDesktop(const QString& start, QString folder) : SimDesktop(start) {
  keptFolder_ = std::move(folder);
}

namespace {
QStringList& boxesOpenAtTeardown() {
  static QStringList boxes;
  return boxes;
}
}  // namespace

QStringList SimDesktop::takeBoxesOpenAtTeardown() {
  return std::exchange(boxesOpenAtTeardown(), {});
}

SimDesktop::~SimDesktop() {
  web_.reportStalledPages();
  if (!ended_) {
    for (const SimBox* box : openBoxes()) boxesOpenAtTeardown() << box->texts.back();
  }
  destroyAllWindows();
  for (auto& form : graveyard_) endWaitsOf(*form);
  graveyard_.clear();
  clock_.clear();
  mirrors_.clear();
}

void SimDesktop::post(std::function<void()> fn) {
  if (!ended_) clock_.schedule(std::chrono::milliseconds{0}, std::move(fn));
}

namespace {
class SimQueuedCall final : public QueuedCall {
 public:
  SimQueuedCall(VirtualClock& clock, VirtualClock::EventId id) : clock_(clock), id_(id) {}
  ~SimQueuedCall() override { clock_.cancel(id_); }

 private:
  VirtualClock& clock_;
  VirtualClock::EventId id_;
};
}  // namespace

std::unique_ptr<QueuedCall> SimDesktop::queue(std::function<void()> fn) {
  const VirtualClock::EventId id =
      ended_ ? 0 : clock_.schedule(std::chrono::milliseconds{0}, std::move(fn));
  return std::make_unique<SimQueuedCall>(clock_, id);
}

std::unique_ptr<QueuedCall> SimDesktop::probeBrowserEngine(std::function<void(bool)> answered) {
  ++engineProbes_;
  const bool works = !engineDown_;
  const VirtualClock::EventId id =
      ended_ ? 0
             : clock_.schedule(works ? web_.networkDelay() : kEngineProbeLimit,
                               [answered = std::move(answered), works] { answered(works); });
  return std::make_unique<SimQueuedCall>(clock_, id);
}

void SimDesktop::killRenderers() {
  for (auto& [form, peers] : mirrors_) {
    for (auto& peer : peers) {
      if (auto* browser = dynamic_cast<SimBrowser*>(peer.get())) browser->rendererGone();
    }
  }
}

namespace {
class SimTimerHandle final : public TimerHandle {
 public:
  SimTimerHandle(VirtualClock& clock, std::chrono::milliseconds period, std::function<void()> tick)
      : clock_(clock), period_(period), tick_(std::move(tick)) {
    arm();
  }
  ~SimTimerHandle() override { clock_.cancel(pending_); }

 private:
  void arm() {
    pending_ = clock_.schedule(period_, [this] {
      arm();
      tick_();
    });
  }
  VirtualClock& clock_;
  std::chrono::milliseconds period_;
  std::function<void()> tick_;
  VirtualClock::EventId pending_ = 0;
};
}  // namespace

std::unique_ptr<TimerHandle> SimDesktop::startTimer(std::chrono::milliseconds period,
                                                    std::function<void()> tick) {
  return std::make_unique<SimTimerHandle>(clock_, std::max(period, std::chrono::milliseconds{1}),
                                          std::move(tick));
}

void SimDesktop::attach(Form& form) {
  if (copy_ == 2) secondCopyForms_.push_back(&form);
  auto& peers = mirrors_[&form];
  auto mirror = std::make_unique<FormMirror>(*this, form);
  BackEnd::setPeer(form, mirror.get());
  peers.push_back(std::move(mirror));
  for (Control* control : form.controls()) {
    std::unique_ptr<ControlPeer> peer;
    if (control->kind() == Control::Kind::Timer) {
      peer = std::make_unique<TimerMirror>(clock_, static_cast<Timer&>(*control));
    } else if (control->kind() == Control::Kind::WebBrowser) {
      peer = std::make_unique<SimBrowser>(*this, static_cast<WebBrowser&>(*control));
    } else {
      continue;
    }
    BackEnd::setPeer(*control, peer.get());
    peers.push_back(std::move(peer));
  }
}

void SimDesktop::detach(Form& form) {
  for (Control* control : form.controls()) BackEnd::setPeer(*control, nullptr);
  BackEnd::setPeer(form, nullptr);
  mirrors_.erase(&form);
  if (foreground_ == &form) foreground_ = nullptr;
  std::erase(secondCopyForms_, &form);
}

std::unique_ptr<MessageBoxPeer> SimDesktop::openMessageBox(
    const QString& text, BoxStyle style, const QString& title,
    std::function<void(BoxResult)> answered) {
  boxes_.push_back(SimBox{title, style, {text}, true, std::nullopt});
  return std::make_unique<Box>(*this, boxes_.size() - 1, std::move(answered));
}

std::vector<const SimBox*> SimDesktop::openBoxes() const {
  std::vector<const SimBox*> out;
  for (const auto& b : boxes_) {
    if (b.open) out.push_back(&b);
  }
  return out;
}

void SimDesktop::answer(BoxResult result) {
  if (liveBoxes_.empty()) return;
  Box* newest = *std::max_element(liveBoxes_.begin(), liveBoxes_.end(),
                                  [](Box* a, Box* b) { return &a->record() < &b->record(); });
  newest->finish(result);
  clock_.runDue();
}

void SimDesktop::answerAfter(std::chrono::milliseconds delay, BoxResult result) {
  clock_.schedule(delay, [this, result] { answer(result); });
}

void SimDesktop::activateOtherInstance(const QString& caption) {
  for (Form* form : windows().all()) {
    if (isSecondCopy(*form) || form->Caption() != caption) continue;
    form->restore();
    form->bringToFront();
    return;
  }
}

void SimDesktop::endProgram() {
  if (copy_ == 2) {
    trays_[1].shown = false;
    for (Form* form : windows().all()) {
      if (isSecondCopy(*form)) {
        graveyard_.push_back(discardWindow(*form));
      }
    }
    return;
  }
  ended_ = true;
  clock_.clear();
  web_.dropPending();
  for (Form* form : windows().all()) BackEnd::visibilityChanged(*form, false);
}

void SimDesktop::retire(std::shared_ptr<Form> window) {
  Form* form = window.get();
  graveyard_.push_back(std::move(window));
  post([form] { endWaitsOf(*form); });
}

bool SimDesktop::isSecondCopy(const Form& form) const {
  return std::find(secondCopyForms_.begin(), secondCopyForms_.end(), &form) !=
         secondCopyForms_.end();
}

void SimDesktop::logWindow(const QString& operation, const Form& form) {
  windowLog_.push_back(operation + QLatin1Char(' ') + form.Caption());
}

void SimDesktop::activate(Form& form) {
  if (foreground_ == &form) return;
  foreground_ = &form;
  post([this, &form] {
    if (!form.isUnloaded() && foreground_ == &form) BackEnd::activated(form);
  });
}

bool SimDesktop::click(CommandButton& button, ModifierKeys keys) {
  if (!canReach(button)) return false;
  BackEnd::mouseDown(button, MouseButton::Left, keys, 0, 0);
  if (!ended_) BackEnd::clicked(button);
  clock_.runDue();
  return true;
}

bool SimDesktop::mouseDown(Label& label, ModifierKeys keys, MouseButton button) {
  if (!canReach(label)) return false;
  BackEnd::mouseDown(label, button, keys, 0, 0);
  if (!ended_) BackEnd::clicked(label);
  clock_.runDue();
  return true;
}

bool SimDesktop::mouseDown(TextBox& box, ModifierKeys keys, MouseButton button) {
  if (!canReach(box)) return false;
  BackEnd::mouseDown(box, button, keys, 0, 0);
  if (!ended_) BackEnd::focused(box);
  clock_.runDue();
  return true;
}

void SimDesktop::clickMenu(Menu& item) {
  if (ended_) return;
  BackEnd::clicked(item);
  clock_.runDue();
}

bool SimDesktop::toggle(CheckBox& box) {
  if (!canReach(box)) return false;
  BackEnd::toggled(box);
  clock_.runDue();
  return true;
}

bool SimDesktop::type(TextBox& box, const QString& text) {
  if (!canReach(box) || box.Locked()) return false;
  BackEnd::edited(box, text);
  clock_.runDue();
  return true;
}

void SimDesktop::moveMouse(PictureBox& box, double x, double y) {
  if (ended_) return;
  BackEnd::mouseMoved(box, MouseButton::None, ModifierKeys::None, x, y);
  clock_.runDue();
}

bool SimDesktop::focus(TextBox& box) {
  if (!canReach(box)) return false;
  BackEnd::focused(box);
  clock_.runDue();
  return true;
}

int SimDesktop::pageElement(WebBrowser& browser, const QString& name) const {
  const auto document = browser.Document();
  if (!canReach(browser) || !document) return -1;
  for (int i = 0; i < document->elementCount(); ++i) {
    if (document->element(i)->name == name) return i;
  }
  return -1;
}

bool SimDesktop::typeInPage(WebBrowser& browser, const QString& element, const QString& text) {
  const int index = pageElement(browser, element);
  if (index < 0) return false;
  browser.Document()->setValue(index, text);
  clock_.runDue();
  return true;
}

bool SimDesktop::clickInPage(WebBrowser& browser, const QString& element) {
  const int index = pageElement(browser, element);
  if (index < 0) return false;
  browser.Document()->click(index);
  clock_.runDue();
  return true;
}

void SimDesktop::resize(Form& form, int width, int height) {
  if (ended_) return;
  BackEnd::resized(form, width, height);
  clock_.runDue();
}

void SimDesktop::closeBox(Form& form) {
  if (ended_) return;
  form.requestClose(UnloadReason::UserClose);
  clock_.runDue();
}

void SimDesktop::endSession() {
  if (ended_ || windows().count() == 0) return;
  if (windows().all().front()->requestClose(UnloadReason::SessionEnd)) endProgram();
  clock_.runDue();
}

void SimDesktop::terminate() {
  if (ended_ || windows().count() == 0) return;
  if (windows().all().front()->requestClose(UnloadReason::Terminated)) endProgram();
  clock_.runDue();
}

}  // namespace tidex
