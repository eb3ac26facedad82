#include "console/text_box_lines.h"

#include <QStringList>

#include "platform/text_box.h"

namespace tidex {

QString TB_GetLine(const TextBox& box, int lineIndex) {
  if (lineIndex < 0) return QString();
  const QStringList lines = box.Text().split(QStringLiteral("\r\n"));
  if (lineIndex >= lines.size()) return QString();
  return lines[lineIndex];
}

int LastLineIndex(const QString& text) {
  return static_cast<int>(text.count(QStringLiteral("\r\n")));
}

}  // namespace tidex
