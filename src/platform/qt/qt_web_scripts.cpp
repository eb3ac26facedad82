#include "platform/qt/qt_web_scripts.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace tidex {
namespace {

// The element at index i, looked up past any named property the page may have put on document.
const char kElementAt[] = "Document.prototype.getElementsByTagName.call(document, '*')[i]";

}  // namespace

QString dialogNeutraliserScript() {
  return QStringLiteral(
      "(function () {\n"
      "  var none = function () {};\n"
      "  ['alert', 'confirm', 'prompt', 'showModalDialog'].forEach(function (name) {\n"
      "    try { window[name] = none; } catch (e) {}\n"
      "  });\n"
      "})();\n");
}

QString snapshotScript() {
  return QStringLiteral(
      "(function () {\n"
      "  function str(v) { return typeof v === 'string' ? v : ''; }\n"
      "  function navigates(e, tag, type) {\n"
      "    if (tag === 'INPUT') return !!e.form && (type === 'submit' || type === 'image');\n"
      "    if (tag === 'BUTTON') return !!e.form && type === 'submit';\n"
      "    return !!(e.closest && e.closest('a[href]'));\n"
      "  }\n"
      "  var all = Document.prototype.getElementsByTagName.call(document, '*');\n"
      "  var out = [];\n"
      "  for (var i = 0; i < all.length; ++i) {\n"
      "    var e = all[i];\n"
      "    var tag = str(e.tagName).toUpperCase();\n"
      "    var name = typeof e.name === 'string' ? e.name : (e.getAttribute('name') || '');\n"
      "    var value = typeof e.value === 'string' ? e.value : (e.getAttribute('value') || '');\n"
      "    var type = str(e.type);\n"
      "    out.push([tag, name, value, type, str(e.src), navigates(e, tag, type) ? 1 : 0,\n"
      "              tag === 'TH' ? str(e.innerText) : '']);\n"
      "  }\n"
      "  var root = document.documentElement;\n"
      "  return JSON.stringify({e: out, t: root ? str(root.innerText) : '', u: location.href});\n"
      "})()");
}

QString setValueScript(int index, const QString& value) {
  return QStringLiteral("(function (i, v) { var e = %1; if (e) e.value = v; })(%2, %3)")
      .arg(QLatin1String(kElementAt), QString::number(index), jsonStringLiteral(value));
}

QString clickScript(int index) {
  return QStringLiteral(
             "(function (i) {\n"
             "  var e = %1;\n"
             "  if (!e) return;\n"
             "  if (e instanceof HTMLElement) HTMLElement.prototype.click.call(e);\n"
             "  else e.dispatchEvent(new MouseEvent('click', {bubbles: true, cancelable: true}));\n"
             "})(%2)")
      .arg(QLatin1String(kElementAt), QString::number(index));
}

QString jsonStringLiteral(const QString& text) {
  const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  QString literal = QString::fromUtf8(array.mid(1, array.size() - 2));  // without [ and ]
  // Older JavaScript ends a string literal at these two.
  literal.replace(QChar(0x2028), QLatin1String("\\u2028"));
  literal.replace(QChar(0x2029), QLatin1String("\\u2029"));
  return literal;
}

}  // namespace tidex
