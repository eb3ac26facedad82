#include "common/element_scan.h"
#include "common/page_wait.h"
#include "common/settings.h"
#include "monitors/pilotboard/board_query.h"
#include "monitors/registration/form2.h"
#include "platform/desktop.h"

namespace tidex {

QString ExtractBetween(const QString& text, const QString& begin, const QString& end) {
  const qsizetype a = text.indexOf(begin) + 1;
  const qsizetype b = text.indexOf(end) + 1;
  const qsizetype start = a + 2;  // counted from 1
  const qsizetype length = b - a - 2;
  if (length < 0 || start > text.size()) return QString();
  return text.mid(start - 1, length);
}

Task Form2::WebBrowser2_DocumentComplete() {
  const QString vessel =
      ExtractBetween(Text3.Text(), QStringLiteral("船名"), QStringLiteral("船隻"));
  WebBrowser3.Navigate2(BoardQuery(ServerAddress(QStringLiteral("boardip")), vessel, QString()));
  const auto document = WebBrowser2.Document();
  if (!document) co_return;
  ScanInputs(*document, [&](HtmlElement& input) {
    if (input.Name() == QStringLiteral("name")) input.setValue(Caption() + u' ' + vessel);
    if (input.Name() == QStringLiteral("mail")) {
      input.setValue(Desktop::current().computerName());
    }
  });
  // A board that never answers would hold the finding's mail back for good: it goes without
  // the board's extract.
  if (!co_await BoundedPageWait(WebBrowser3, kBoardLookupLimit)) SendNotification(QString());
}

Task Form2::WebBrowser3_DocumentComplete() {
  co_await PageWait(WebBrowser3);
  const auto board = WebBrowser3.Document();
  if (!board) co_return;
  Text4.setText(board->documentElement().innerText());
  SendNotification(ExtractBetween(Text4.Text(), QStringLiteral("艏推"), QStringLiteral("進港")));
}

void Form2::SendNotification(const QString& boardExtract) {
  const auto mail = WebBrowser2.Document();
  if (!mail) return;
  ScanInputs(*mail, [&](HtmlElement& input) {
    if (input.Name() == QStringLiteral("namea")) input.setValue(boardExtract);
    if (input.Name() == QStringLiteral("submit") && !notificationSent_) {
      input.Click();
      notificationSent_ = true;
    }
  });
}

}  // namespace tidex
