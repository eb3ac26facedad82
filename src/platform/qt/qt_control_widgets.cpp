#include "platform/qt/qt_control_widgets.h"

#include <QMouseEvent>
#include <QPixmap>

#include "platform/back_end.h"
#include "platform/qt/qt_list_widgets.h"
#include "platform/qt/qt_text_box_peer.h"
#include "platform/qt/qt_web_browser_peer.h"

namespace tidex {
namespace {

// Leaves the state to the control: a click only reports the toggle.
class ControlledCheckBox final : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {}
};

Qt::CheckState checkStateOf(int value) {
  switch (value) {
    case 1:
      return Qt::Checked;
    case 2:
      return Qt::PartiallyChecked;
    default:
      return Qt::Unchecked;
  }
}

// The second press of a double click comes as a double-click event.
bool isPress(const QEvent* event) {
  return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
}

}  // namespace

LabelPeer::LabelPeer(Label& label, QWidget* parent)
    : WidgetPeer(label, new QLabel(parent)), control_(label) {
  QLabel* w = this->label();
  w->setTextFormat(Qt::PlainText);
  w->setWordWrap(true);
  w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  colour_ = Colour::system(SystemColour::WindowText);
  sync();
}

void LabelPeer::sync() {
  syncCommon(control_.Caption());
  if (label()->text() != control_.Caption()) label()->setText(control_.Caption());
  if (const Control* named = control_.LabelFor()) {
    QWidget* buddy = widgetOf(*named);
    if (buddy && label()->buddy() != buddy) label()->setBuddy(buddy);
    // Declared before the control it names: that one's widget comes once the window is up.
    if (!buddy && !buddyAwaited_) {
      buddyAwaited_ = true;
      QMetaObject::invokeMethod(
          this, [this] { sync(); }, Qt::QueuedConnection);
    }
  }
  if (!(colour_ == control_.ForeColor())) {
    colour_ = control_.ForeColor();
    applyForeColour(*label(), colour_);
  }
}

bool LabelPeer::eventFilter(QObject* watched, QEvent* event) {
  if (watched != widget()) return false;
  if (isPress(event)) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    BackEnd::mouseDown(control_, mouseButtonOf(mouse->button()), modifierKeysOf(mouse->modifiers()),
                       at.x(), at.y());
  } else if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton &&
        label()->rect().contains(mouse->position().toPoint())) {
      BackEnd::clicked(control_);
    }
  }
  return false;
}

CheckBoxPeer::CheckBoxPeer(CheckBox& box, QWidget* parent)
    : WidgetPeer(box, new ControlledCheckBox(parent)), control_(box) {
  colour_ = Colour::system(SystemColour::ButtonText);
  connect(checkBox(), &QCheckBox::clicked, this, &CheckBoxPeer::clicked);
  sync();
}

void CheckBoxPeer::sync() {
  QCheckBox* w = checkBox();
  syncCommon(control_.Caption());
  if (w->text() != control_.Caption()) w->setText(control_.Caption());
  const Qt::CheckState state = checkStateOf(control_.Value());
  if (state == Qt::PartiallyChecked && !w->isTristate()) w->setTristate(true);
  if (w->checkState() != state) w->setCheckState(state);
  if (!(colour_ == control_.ForeColor())) {
    colour_ = control_.ForeColor();
    applyForeColour(*w, colour_);
  }
}

void CheckBoxPeer::clicked() {
  QPointer<CheckBoxPeer> self(this);
  BackEnd::toggled(control_);
  if (self) sync();  // the handler may have left the value as it was
}

CommandButtonPeer::CommandButtonPeer(CommandButton& control, QWidget* parent)
    : WidgetPeer(control, new QPushButton(parent)), control_(control) {
  button()->setAutoDefault(false);
  connect(button(), &QPushButton::clicked, this, [this] { BackEnd::clicked(control_); });
  sync();
}

void CommandButtonPeer::sync() {
  QPushButton* w = button();
  syncCommon(control_.Caption());
  if (w->text() != control_.Caption()) w->setText(control_.Caption());
  if (w->toolTip() != control_.ToolTipText()) w->setToolTip(control_.ToolTipText());
}

bool CommandButtonPeer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget() && isPress(event)) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    BackEnd::mouseDown(control_, mouseButtonOf(mouse->button()), modifierKeysOf(mouse->modifiers()),
                       at.x(), at.y());
  }
  return false;
}

FramePeer::FramePeer(Frame& frame, QWidget* parent)
    : WidgetPeer(frame, new QGroupBox(parent)), control_(frame) {
  widget()->lower();
  sync();
}

void FramePeer::sync() {
  auto* w = static_cast<QGroupBox*>(widget());
  syncCommon(control_.Caption());
  if (w->title() != control_.Caption()) w->setTitle(control_.Caption());
}

PictureBoxPeer::PictureBoxPeer(PictureBox& picture, QWidget* parent)
    : WidgetPeer(picture, new QLabel(parent)), control_(picture) {
  label()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  sync();
}

void PictureBoxPeer::sync() {
  syncCommon(QString());
  if (shown_ != control_.Picture()) {
    shown_ = control_.Picture();
    label()->setPixmap(shown_.isEmpty() ? QPixmap() : QPixmap(shown_));
  }
}

std::unique_ptr<ControlPeer> createWidgetPeer(Control& control, QWidget* client) {
  QWidget* parent = WidgetPeer::parentFor(control, client);
  switch (control.kind()) {
    case Control::Kind::TextBox:
      return std::make_unique<TextBoxPeer>(static_cast<TextBox&>(control), parent);
    case Control::Kind::Label:
      return std::make_unique<LabelPeer>(static_cast<Label&>(control), parent);
    case Control::Kind::CheckBox:
      return std::make_unique<CheckBoxPeer>(static_cast<CheckBox&>(control), parent);
    case Control::Kind::CommandButton:
      return std::make_unique<CommandButtonPeer>(static_cast<CommandButton&>(control), parent);
    case Control::Kind::Frame:
      return std::make_unique<FramePeer>(static_cast<Frame&>(control), parent);
    case Control::Kind::PictureBox:
      return std::make_unique<PictureBoxPeer>(static_cast<PictureBox&>(control), parent);
    case Control::Kind::WebBrowser:
      return std::make_unique<QtWebBrowserPeer>(static_cast<WebBrowser&>(control), parent);
    case Control::Kind::ListView:
      return std::make_unique<ListViewPeer>(static_cast<ListView&>(control), parent);
    case Control::Kind::ComboBox:
      return std::make_unique<ComboBoxPeer>(static_cast<ComboBox&>(control), parent);
    case Control::Kind::TextPane:
      return std::make_unique<TextPanePeer>(static_cast<TextPane&>(control), parent);
    default:
      return nullptr;
  }
}

}  // namespace tidex
