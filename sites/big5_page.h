#pragma once

#include <QByteArray>
#include <QString>

namespace tidex::sites {

// An HTML page in Big5 with the charset declared, as the port's servers send them.
QByteArray Big5Page(const QString& title, const QString& bodyHtml);

// Escapes text for an HTML text node or attribute.
QString HtmlEscape(const QString& text);

}  // namespace tidex::sites
