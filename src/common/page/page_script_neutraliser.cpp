#include "common/page/page_script_neutraliser.h"

#include <QStringList>

#include "platform/html_document.h"

namespace tidex {

void NeutralisePageScripts(HtmlDocument& document) {
  static const QStringList scripts{QStringLiteral("function alert(){return;}"),
                                   QStringLiteral("function confirm(){return;}"),
                                   QStringLiteral("function showModalDialog(){return;}")};
  for (const QString& script : scripts) document.execScript(script);
}

}  // namespace tidex
