#include "platform/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QPushButton>

namespace tidex {
namespace {

enum ExtraStyle : int { OkCancel = 1, AbortRetryIgnore = 2, RetryCancel = 5 };
enum ExtraResult : int { BoxAbort = 3, BoxRetry = 4, BoxIgnore = 5 };

QString plainText(const QString& text) {
  QString out = text;
  out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return out;
}

}  // namespace

QtMessageBox::QtMessageBox(Desktop& desktop, const QString& text, int style, const QString& title,
                           std::function<void(int)> answered)
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
  auto standard = [this](QMessageBox::StandardButton which, int result) {
    results_.emplace_back(box_->addButton(which), result);
  };
  auto custom = [this](const QString& text, QMessageBox::ButtonRole role, int result) {
    results_.emplace_back(box_->addButton(text, role), result);
  };
  switch (style_ & 0xF) {
    case OkCancel:
      standard(QMessageBox::Ok, BoxOk);
      standard(QMessageBox::Cancel, BoxCancel);
      break;
    case AbortRetryIgnore:
      standard(QMessageBox::Abort, BoxAbort);
      standard(QMessageBox::Retry, BoxRetry);
      standard(QMessageBox::Ignore, BoxIgnore);
      break;
    case YesNoCancel:
      standard(QMessageBox::Yes, BoxYes);
      standard(QMessageBox::No, BoxNo);
      standard(QMessageBox::Cancel, BoxCancel);
      break;
    case YesNo:
      standard(QMessageBox::Yes, BoxYes);
      standard(QMessageBox::No, BoxNo);
      break;
    case RetryCancel:
      standard(QMessageBox::Retry, BoxRetry);
      standard(QMessageBox::Cancel, BoxCancel);
      break;
    case CancelTryAgainContinue:
      standard(QMessageBox::Cancel, BoxCancel);
      custom(QStringLiteral("重試(&T)"), QMessageBox::ActionRole, BoxTryAgain);
      custom(QStringLiteral("繼續(&C)"), QMessageBox::AcceptRole, BoxContinue);
      break;
    default:
      standard(QMessageBox::Ok, BoxOk);
      break;
  }
  // The default button: the first, or the one the style's 0x100 / 0x200 / 0x300 names.
  const std::size_t preferred = static_cast<std::size_t>((style_ >> 8) & 0xF);
  box_->setDefaultButton(
      qobject_cast<QPushButton*>(results_[preferred < results_.size() ? preferred : 0].first));
  const int onClose = closeResultOf(style_);
  for (const auto& [button, result] : results_) {
    if (result == onClose) box_->setEscapeButton(button);
  }
}

void QtMessageBox::setText(const QString& text) {
  if (box_ && !done_) box_->setText(plainText(text));
}

void QtMessageBox::close() {
  if (done_) return;
  finish(closeResultOf(style_));
}

void QtMessageBox::finished() {
  QAbstractButton* clicked = box_ ? box_->clickedButton() : nullptr;
  int result = closeResultOf(style_);
  for (const auto& [button, value] : results_) {
    if (button == clicked) result = value;
  }
  finish(result);
}

void QtMessageBox::finish(int result) {
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
