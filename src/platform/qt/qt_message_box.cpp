#include "platform/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QPushButton>

namespace tidex {
namespace {

QString plainText(const QString& text) {
  QString out = text;
  out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return out;
}

}  // namespace

QtMessageBox::QtMessageBox(Desktop& desktop, const QString& text, BoxStyle style,
                           const QString& title, std::function<void(BoxResult)> answered)
    : desktop_(desktop), style_(style), answered_(std::move(answered)) {
  box_ = new QMessageBox;
  box_->setObjectName(QStringLiteral("MessageBox"));
  box_->setIcon(QMessageBox::NoIcon);
  box_->setTextFormat(Qt::PlainText);
  box_->setText(plainText(text));
  box_->setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
  box_->setWindowModality(Qt::ApplicationModal);
  // Unattended runs: the box must stay in sight.
  box_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  addButtons();
  connect(box_, &QMessageBox::finished, this, &QtMessageBox::finished);
  box_->show();
  box_->raise();
  box_->activateWindow();
}

QtMessageBox::~QtMessageBox() {
  if (!box_) return;
  box_->disconnect(this);
  box_->hide();
  box_->deleteLater();
}

void QtMessageBox::addButtons() {
  auto standard = [this](QMessageBox::StandardButton which, BoxResult result) {
    results_.emplace_back(box_->addButton(which), result);
  };
  auto custom = [this](const QString& text, QMessageBox::ButtonRole role, BoxResult result) {
    results_.emplace_back(box_->addButton(text, role), result);
  };
  switch (style_.buttons) {
    case BoxButtons::Ok:
      standard(QMessageBox::Ok, BoxResult::Ok);
      break;
    case BoxButtons::YesNoCancel:
      standard(QMessageBox::Yes, BoxResult::Yes);
      standard(QMessageBox::No, BoxResult::No);
      standard(QMessageBox::Cancel, BoxResult::Cancel);
      break;
    case BoxButtons::YesNo:
      standard(QMessageBox::Yes, BoxResult::Yes);
      standard(QMessageBox::No, BoxResult::No);
      break;
    case BoxButtons::CancelTryAgainContinue:
      standard(QMessageBox::Cancel, BoxResult::Cancel);
      custom(QStringLiteral("重試(&T)"), QMessageBox::ActionRole, BoxResult::TryAgain);
      custom(QStringLiteral("繼續(&C)"), QMessageBox::AcceptRole, BoxResult::Continue);
      break;
  }
  const std::size_t preferred = style_.defaultButton == BoxDefault::Second ? 1 : 0;
  box_->setDefaultButton(
      qobject_cast<QPushButton*>(results_[preferred < results_.size() ? preferred : 0].first));
  const BoxResult onClose = closeResultOf(style_.buttons);
  for (const auto& [button, result] : results_) {
    if (result == onClose) box_->setEscapeButton(button);
  }
}

void QtMessageBox::setText(const QString& text) {
  if (box_ && !done_) box_->setText(plainText(text));
}

void QtMessageBox::close() {
  if (done_) return;
  finish(closeResultOf(style_.buttons));
}

void QtMessageBox::finished() {
  QAbstractButton* clicked = box_ ? box_->clickedButton() : nullptr;
  BoxResult result = closeResultOf(style_.buttons);
  for (const auto& [button, value] : results_) {
    if (button == clicked) result = value;
  }
  finish(result);
}

void QtMessageBox::finish(BoxResult result) {
  if (done_) return;
  done_ = true;
  // The answer may resume a handler that destroys this box: nothing here is touched after it.
  answer_ = desktop_.queue([this, result] {
    auto answered = std::move(answered_);
    if (answered) answered(result);
  });
  if (box_) {
    box_->disconnect(this);
    box_->hide();
    box_->deleteLater();
    box_ = nullptr;
  }
}

}  // namespace tidex
