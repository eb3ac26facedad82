#include "common/text/blanks_and_breaks.h"

namespace tidex {

QString WithoutBlanksAndBreaks(QString text) {
  for (char16_t c : kBlanksAndBreaks) text.remove(QChar(c));
  return text;
}

}  // namespace tidex
