#include "common/element_scan.h"
#include "common/number_text.h"
#include "common/page_wait.h"
#include "common/server_pages.h"
#include "monitors/pilotboard/board_monitor.h"
#include "monitors/pilotboard/board_text.h"

namespace tidex {

bool BoardMonitor::onBoard(const HtmlDocument& page) const {
  return kind_.server.isEmpty() || IsOnServer(page.url(), kind_.server);
}

Task BoardMonitor::WebBrowser1_DocumentComplete() {
  const auto document = WebBrowser1.Document();
  if (!document) co_return;  // nothing to read: the state stays as it was until the next reload
  const QString& field = kind_.searchFieldName;
  if (!field.isEmpty() && onBoard(*document)) {
    ScanInputs(*document, [&](HtmlElement& input) {
      if (input.Name() == field) input.setValue(Caption());
      if (Val(Text3.Text()) < 60 && input.Type() == QStringLiteral("submit")) {
        input.Click();
        Text3.setText(QStringLiteral("100"));
      }
    });
  }
  co_await PageWait(WebBrowser1);
  const auto current = WebBrowser1.Document();
  if (!current) co_return;
  const QString pageText = current->All().item(0).innerText();
  const QString normalised = kind_.normalise(pageText);
  latestIsErrorPage_ = IsErrorPage(pageText, WebBrowser1.lastLoad()) || !onBoard(*current);
  // An error page is no baseline: the first good board would differ from it and alert.
  const bool baselineCandidate = !(kind_.filtersErrorPages && latestIsErrorPage_);
  if (Text1.Text() == QStringLiteral("A") && baselineCandidate) {
    Text1.setText(normalised);
    baselinePage_ = pageText;
  }
  Text2.setText(normalised);
  latestPage_ = pageText;
}

}  // namespace tidex
