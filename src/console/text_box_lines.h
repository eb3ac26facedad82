#pragma once

#include <QString>

namespace tidex {

class TextBox;

// The text of one line (from 0) of a text box of several lines, lines ending in CR LF, as the
// box shows them; a line index past the last line gives the empty text.
QString TB_GetLine(const TextBox& box, int lineIndex);

// The index of the last piece of the text split at CR LF: the number of line breaks.
int LastLineIndex(const QString& text);

}  // namespace tidex
