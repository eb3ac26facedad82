#include "common/text/number_text.h"

namespace tidex {
namespace {

// Length of the number at the start of text (after blanks), 0 when there is none.
int numberLength(const QString& text, int start) {
  int i = start;
  if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) ++i;
  const int digitsFrom = i;
  while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) ++i;
  bool digits = i > digitsFrom;
  if (i < text.size() && text[i] == QLatin1Char('.')) {
    const int fractionFrom = ++i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) ++i;
    digits = digits || i > fractionFrom;
  }
  return digits ? i - start : 0;
}

int skipBlanks(const QString& text, int i) {
  while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
  return i;
}

}  // namespace

double Val(const QString& text) {
  const int start = skipBlanks(text, 0);
  const int length = numberLength(text, start);
  return length == 0 ? 0.0 : text.mid(start, length).toDouble();
}

std::optional<double> NumberOf(const QString& text) {
  const int start = skipBlanks(text, 0);
  const int length = numberLength(text, start);
  if (length == 0 || skipBlanks(text, start + length) != text.size()) return std::nullopt;
  return text.mid(start, length).toDouble();
}

}  // namespace tidex
