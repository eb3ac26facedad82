#include "monitors/registration/answer_lines.h"

#include <QStringList>

#include "monitors/registration/registration_monitor.h"

namespace tidex {

QString FindingAnswerLines(const QString& pageText) {
  QStringList lines;
  for (const QString& line : pageText.split(QLatin1Char('\n'))) {
    if (line.contains(QStringLiteral("船名"))) {
      lines << line.simplified();
      break;
    }
  }
  const QString counts = CountsLine(pageText);
  if (!counts.isEmpty()) lines << counts.split(QChar(0x3000));
  return lines.join(QLatin1Char('\n'));
}

}  // namespace tidex
