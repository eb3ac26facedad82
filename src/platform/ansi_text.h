#pragma once

#include <QByteArray>
#include <QString>

namespace tidex {

// Conversions between text and the system ANSI code page (CP950).

// One character (a surrogate pair counts as one) becomes one or two bytes; a character the
// code page cannot represent, a lone surrogate included, becomes '?'.
QByteArray toAnsi(const QString& text);

// A byte below 0x80 is one character (0 gives U+0000); a lead byte 0x81-0xFE and the byte after
// it are one character. A pair that does not map, a lead byte at the end, and a lone 0x80 or
// 0xFF each become one '?'.
QString fromAnsi(const QByteArray& bytes);

}  // namespace tidex
