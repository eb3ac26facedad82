#include "big5_page.h"

#include "platform/ansi_text.h"

namespace tidex::sites {

QByteArray Big5Page(const QString& title, const QString& bodyHtml) {
  const QString html = QStringLiteral(
                           "<!DOCTYPE html>\r\n<html><head>"
                           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">"
                           "<title>%1</title></head>\r\n<body>%2</body></html>\r\n")
                           .arg(HtmlEscape(title), bodyHtml);
  return toAnsi(html);
}

QString HtmlEscape(const QString& text) { return text.toHtmlEscaped(); }

}  // namespace tidex::sites
