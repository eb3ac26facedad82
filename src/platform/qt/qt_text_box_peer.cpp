#include "platform/qt/qt_text_box_peer.h"

#include <QMouseEvent>

#include <QEvent>
#include <QTextCursor>

#include "platform/back_end.h"
#include "platform/qt/qt_line_breaks.h"

namespace tidex {
namespace {
constexpr int kMaxLength = 1 << 24;  // QLineEdit would cut the text at 32767
}

TextBoxPeer::TextBoxPeer(TextBox& box, QWidget* parent)
    : WidgetPeer(box, createEditor(box.MultiLine(), parent)), box_(box) {
  connectEditor();
  pushText();
  sync();
}

QWidget* TextBoxPeer::createEditor(bool multiLine, QWidget* parent) {
  if (!multiLine) {
    auto* editor = new QLineEdit(parent);
    editor->setMaxLength(kMaxLength);
    return editor;
  }
  auto* editor = new QPlainTextEdit(parent);
  editor->setTabChangesFocus(true);
  return editor;
}

void TextBoxPeer::connectEditor() {
  line_ = qobject_cast<QLineEdit*>(widget());
  plain_ = qobject_cast<QPlainTextEdit*>(widget());
  if (line_) {
    connect(line_, &QLineEdit::textChanged, this, &TextBoxPeer::editorEdited);
    connect(line_, &QLineEdit::cursorPositionChanged, this, &TextBoxPeer::editorSelectionMoved);
    connect(line_, &QLineEdit::selectionChanged, this, &TextBoxPeer::editorSelectionMoved);
  } else if (plain_) {
    plain_->viewport()->installEventFilter(this);  // mouse presses land on the viewport
    connect(plain_, &QPlainTextEdit::textChanged, this, &TextBoxPeer::editorEdited);
    connect(plain_, &QPlainTextEdit::cursorPositionChanged, this,
            &TextBoxPeer::editorSelectionMoved);
    connect(plain_, &QPlainTextEdit::selectionChanged, this, &TextBoxPeer::editorSelectionMoved);
  }
}

void TextBoxPeer::sync() {
  if (box_.MultiLine() != isMultiLine()) {
    ++pushing_;
    replaceWidget(createEditor(box_.MultiLine(), widget()->parentWidget()));
    connectEditor();
    --pushing_;
    pushText();
  }
  syncCommon(QString());
  QWidget* w = widget();
  ++pushing_;
  if (line_) {
    if (line_->isReadOnly() != box_.Locked()) line_->setReadOnly(box_.Locked());
    const auto echo = box_.PasswordChar().isNull() ? QLineEdit::Normal : QLineEdit::Password;
    if (line_->echoMode() != echo) line_->setEchoMode(echo);
  } else if (plain_ && plain_->isReadOnly() != box_.Locked()) {
    plain_->setReadOnly(box_.Locked());
  }
  if (w->toolTip() != box_.ToolTipText()) w->setToolTip(box_.ToolTipText());
  --pushing_;
  if (taking_) {
    // The editor already shows the user's edit; what code changes is settled afterwards.
    if (syncsWhileTaking_++ == 0) selectionAfterEdit_ = controlSelection();
  } else {
    if (!showsControlText()) pushText();
    if (controlSelection() != mirrored_) pushSelection();
  }
  if (box_.focusRequested()) {
    BackEnd::focusTaken(box_);
    w->setFocus(Qt::OtherFocusReason);
  }
}

bool TextBoxPeer::showsControlText() const {
  if (line_) return line_->text() == box_.Text();
  if (plain_) return plain_->toPlainText() == toEditorText(box_.Text());
  return true;
}

QString TextBoxPeer::editorText() const {
  if (line_) return line_->text();
  if (plain_) return toControlText(plain_->toPlainText());
  return {};
}

void TextBoxPeer::pushText() {
  ++pushing_;
  if (line_) {
    line_->setText(box_.Text());
  } else if (plain_) {
    const QString current = plain_->toPlainText();
    const QString wanted = toEditorText(box_.Text());
    if (!current.isEmpty() && wanted.startsWith(current)) {
      // Appending keeps the view where it is and is cheap for long logs.
      QTextCursor end(plain_->document());
      end.movePosition(QTextCursor::End);
      end.insertText(wanted.mid(current.size()));
    } else {
      plain_->setPlainText(wanted);
    }
  }
  --pushing_;
  pushSelection();
}

TextBoxPeer::Selection TextBoxPeer::editorSelection() const {
  if (line_) {
    if (line_->hasSelectedText()) return {line_->selectionStart(), line_->selectionLength()};
    return {line_->cursorPosition(), 0};
  }
  if (plain_) {
    const QTextCursor cursor = plain_->textCursor();
    const QString text = toControlText(plain_->toPlainText());
    const int start = controlPosition(text, cursor.selectionStart());
    const int end = controlPosition(text, cursor.selectionEnd());
    return {start, end - start};
  }
  return {};
}

void TextBoxPeer::pushSelection() {
  const Selection sel = controlSelection();
  mirrored_ = sel;
  if (editorSelection() == sel) return;
  ++pushing_;
  if (line_) {
    if (sel.length > 0) {
      line_->setSelection(sel.start, sel.length);
    } else {
      line_->setCursorPosition(sel.start);
    }
  } else if (plain_) {
    const QString& text = box_.Text();
    QTextCursor cursor = plain_->textCursor();
    cursor.setPosition(editorPosition(text, sel.start));
    cursor.setPosition(editorPosition(text, sel.start + sel.length), QTextCursor::KeepAnchor);
    plain_->setTextCursor(cursor);
  }
  --pushing_;
}

void TextBoxPeer::reportSelection() {
  const Selection sel = editorSelection();
  BackEnd::selected(box_, sel.start, sel.length);
  mirrored_ = controlSelection();
}

void TextBoxPeer::editorEdited() {
  if (pushing_ || taking_) return;
  const QString text = editorText();
  if (text == box_.Text()) return;
  QPointer<TextBoxPeer> self(this);
  taking_ = true;
  syncsWhileTaking_ = 0;
  selectionAfterEdit_ = controlSelection();
  BackEnd::edited(box_, text);
  if (!self) return;  // the Change handler unloaded the window
  taking_ = false;
  if (!showsControlText()) {
    pushText();  // the handler rewrote the text
  } else if (syncsWhileTaking_ > 1 && controlSelection() != selectionAfterEdit_) {
    pushSelection();  // the handler moved the selection
  } else {
    reportSelection();
  }
}

void TextBoxPeer::editorSelectionMoved() {
  if (pushing_ || taking_) return;
  reportSelection();
}

bool TextBoxPeer::eventFilter(QObject* watched, QEvent* event) {
  const bool onEditor = watched == widget() || (plain_ && watched == plain_->viewport());
  if (onEditor &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    BackEnd::mouseDown(box_, mouseButtonOf(mouse->button()), modifierKeysOf(mouse->modifiers()),
                       at.x(), at.y());
  }
  if (watched == widget() && event->type() == QEvent::FocusIn) {
    QMetaObject::invokeMethod(
        this, [this] { BackEnd::focused(box_); }, Qt::QueuedConnection);
  }
  return false;
}

}  // namespace tidex
