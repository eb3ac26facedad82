#pragma once

#include <optional>

#include <QString>

namespace tidex {

// The leading number of a text, as the windows read their counters: blanks skipped, an
// optional sign, digits with an optional decimal part; 0 when there is none ("12ab" is 12).
double Val(const QString& text);

// The number a whole text stands for, or nothing when it is not a number ("1", " 0 ", "2.0"
// are numbers; "", "No Settings", "1x" are not).
std::optional<double> NumberOf(const QString& text);

}  // namespace tidex
