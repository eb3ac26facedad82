#include "common/element_scan.h"
#include "common/journal.h"
#include "common/page_wait.h"
#include "common/settings.h"
#include "monitors/pilotboard/board_query.h"
#include "monitors/registration/form2.h"
#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex {

QString VesselOf(const QString& pageText) {
  return ExtractBetween(pageText, QStringLiteral("船名"), QStringLiteral("船隻"));
}

QString CountsLine(const QString& pageText) {
  const QStringList lines = pageText.split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    if (!line.contains(QStringLiteral("實櫃數")) && !line.contains(QStringLiteral("空櫃數"))) {
      continue;
    }
    // A heading row with its row of numbers beneath: each heading with its number.
    const QStringList headings = line.simplified().split(QLatin1Char(' '));
    const QStringList counts = lines.value(i + 1).simplified().split(QLatin1Char(' '));
    if (headings.size() < 2 || headings.size() != counts.size()) return line.simplified();
    QStringList pairs;
    for (qsizetype k = 0; k < headings.size(); ++k) pairs << headings[k] + u' ' + counts[k];
    return pairs.join(QChar(0x3000));
  }
  return QString();
}

QString ExtractBetween(const QString& text, const QString& begin, const QString& end) {
  const qsizetype a = text.indexOf(begin) + 1;
  const qsizetype b = text.indexOf(end) + 1;
  const qsizetype start = a + 2;  // counted from 1
  const qsizetype length = b - a - 2;
  if (length < 0 || start > text.size()) return QString();
  return text.mid(start - 1, length);
}

Task Form2::WebBrowser2_DocumentComplete() {
  const QString vessel = VesselOf(Text3.Text());
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
      console_.journal().record(Caption(), journal::kind::kRegistration,
                                journal::event::kNotification,
                                (Caption() + u' ' + VesselOf(Text3.Text())).simplified());
    }
  });
}

}  // namespace tidex
