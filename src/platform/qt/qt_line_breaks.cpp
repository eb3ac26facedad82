#include "platform/qt/qt_line_breaks.h"

namespace tidex {
namespace {
bool crlfAt(const QString& s, qsizetype i) {
  return s[i] == QLatin1Char('\r') && i + 1 < s.size() && s[i + 1] == QLatin1Char('\n');
}
}  // namespace

QString toEditorText(const QString& controlText) {
  QString text = controlText;
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QString toControlText(const QString& editorText) {
  QString text = editorText;
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return text;
}

int editorPosition(const QString& controlText, int controlPos) {
  int pos = 0;
  for (qsizetype i = 0; i < controlPos && i < controlText.size(); ++i) {
    if (!crlfAt(controlText, i)) ++pos;
  }
  return pos;
}

int controlPosition(const QString& controlText, int editorPos) {
  qsizetype i = 0;
  for (int pos = 0; pos < editorPos && i < controlText.size(); ++pos)
    i += crlfAt(controlText, i) ? 2 : 1;
  return static_cast<int>(i);
}

}  // namespace tidex
