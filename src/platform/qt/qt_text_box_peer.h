#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "platform/qt/qt_widget_peer.h"
#include "platform/text_box.h"

namespace tidex {

// A TextBox as a QLineEdit, or a QPlainTextEdit when it is multi-line. The control's text,
// selection and focus requests are pushed into the editor; the user's edits and selection
// moves are reported back.
class TextBoxPeer final : public WidgetPeer {
 public:
  TextBoxPeer(TextBox& box, QWidget* parent);

  void sync() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Selection {
    int start = 0;
    int length = 0;
    bool operator==(const Selection&) const = default;
  };

  static QWidget* createEditor(bool multiLine, QWidget* parent);
  void connectEditor();
  bool isMultiLine() const { return plain_ != nullptr; }

  bool showsControlText() const;
  QString editorText() const;  // in the control's line breaks
  void pushText();
  Selection controlSelection() const { return {box_.SelStart(), box_.SelLength()}; }
  Selection editorSelection() const;  // in control positions
  void pushSelection();
  void reportSelection();

  void editorEdited();
  void editorSelectionMoved();

  TextBox& box_;
  QPointer<QLineEdit> line_;
  QPointer<QPlainTextEdit> plain_;
  // The control's selection as last pushed or reported: a change from it comes from code.
  Selection mirrored_;
  int pushing_ = 0;
  // While the control takes a user edit: its selection after the edit itself, and whether
  // the program changed something from its Change handler.
  bool taking_ = false;
  int syncsWhileTaking_ = 0;
  Selection selectionAfterEdit_;
};

}  // namespace tidex
