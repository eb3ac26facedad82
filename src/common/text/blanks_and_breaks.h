#pragma once

#include <array>

#include <QString>

namespace tidex {

// What captions and typed numbers lose, in this order: blank, carriage return, line feed and
// no-break space.
inline constexpr std::array<char16_t, 4> kBlanksAndBreaks{u' ', u'\r', u'\n', u'\u00A0'};

QString WithoutBlanksAndBreaks(QString text);

}  // namespace tidex
