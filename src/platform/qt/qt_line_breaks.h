#pragma once

#include <QString>

namespace tidex {

// The controls keep multi-line text with CR LF line breaks; Qt's text editors use LF.
QString toEditorText(const QString& controlText);
QString toControlText(const QString& editorText);

// Maps a position in the control's text to the editor's and back; a CR LF pair is one
// editor character.
int editorPosition(const QString& controlText, int controlPos);
int controlPosition(const QString& controlText, int editorPos);

}  // namespace tidex
