#pragma once

#include <optional>

#include <QString>

namespace tidex {

// Base64 (RFC 4648 alphabet, '=' padding, no line breaks) of the code page bytes of text.
QString EncodeText(const QString& text);

// Reverses EncodeText, leniently: characters outside the alphabet, '=' included, count as 0 and
// the text ends at the first NUL. A trailing single character is ignored; nullopt when the last
// group of four is cut short by two or three characters.
std::optional<QString> DecodeText(const QString& text);

}  // namespace tidex
