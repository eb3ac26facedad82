#include <QUrl>

#include "common/journal/journal.h"
#include "common/page/element_scan.h"
#include "common/page/page_wait.h"
#include "common/page/server_pages.h"
#include "monitors/pilotboard/board_monitor.h"
#include "monitors/pilotboard/board_text.h"
#include "platform/journal_schema.h"

namespace tidex {
namespace {

// Scheme, host and port of an address: where a page answers.
QString originOf(const QString& address) {
  const QUrl url(address);
  return url
      .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
      .toString();
}

bool hasInput(HtmlDocument& page, const QString& name) {
  bool found = false;
  ScanInputs(page, [&](HtmlElement& input) { found = found || input.Name() == name; });
  return found;
}

QStringList headingCellsOf(const HtmlDocument& page) {
  QStringList headings;
  for (int i = 0; i < page.elementCount(); ++i) {
    const ElementData* element = page.element(i);
    if (element->tagName == u"TH" && !element->text.isEmpty()) headings << element->text;
  }
  return headings;
}

}  // namespace

bool BoardMonitor::onBoard(const HtmlDocument& page) const {
  if (kind_.server.isEmpty() || IsOnServer(page.url(), kind_.server)) return true;
  return !boardOrigin_.isEmpty() && originOf(page.url()) == boardOrigin_;
}

bool BoardMonitor::carriesSearchForm(HtmlDocument& page) const {
  return !kind_.searchFieldName.isEmpty() && hasInput(page, kind_.searchFieldName);
}

Task BoardMonitor::onPageComplete() {
  const auto document = pageBrowser.Document();
  if (!document) co_return;  // nothing to read: the state stays as it was until the next reload
  const QString& field = kind_.searchFieldName;
  const LoadResult& load = pageBrowser.lastLoad();
  // The search goes to the board wherever its server sent the browser, never to a page that
  // failed or to another site's page.
  if (!field.isEmpty() && !load.failed && (onBoard(*document) || carriesSearchForm(*document))) {
    ScanInputs(*document, [&](HtmlElement& input) {
      if (input.Name() == field) input.setValue(Caption());
      if (!searchSent_ && input.Type() == QStringLiteral("submit")) {
        input.Click();
        searchSent_ = true;
      }
    });
  }
  co_await PageWait(pageBrowser);
  const auto current = pageBrowser.Document();
  if (!current) co_return;
  readPage(*current, pageBrowser.lastLoad());
}

void BoardMonitor::readPage(HtmlDocument& page, const LoadResult& load) {
  using Verdict = BoardPageReading::Verdict;
  const QString pageText = page.All().item(0).innerText();
  const bool carriesForm = carriesSearchForm(page);
  const BoardPageReading reading =
      kind_.filtersErrorPages ? ReadBoardPage(pageText, load, carriesForm, formSeen_, onBoard(page))
                              : BoardPageReading{load.unread ? Verdict::Unread : Verdict::Board,
                                                 QStringLiteral("頁面無法讀取")};
  // A page that could not be read is no page at all: neither a change nor a baseline.
  if (reading.verdict == Verdict::Unread) {
    health_.failedRead(reading.reason);
    return;
  }
  latestIsErrorPage_ = reading.verdict != Verdict::Board;
  if (latestIsErrorPage_) {
    health_.failedRead(reading.reason);
  } else {
    health_.goodRead();
    if (carriesForm) {
      formSeen_ = true;
      followBoard(page.url());
    }
  }
  const QString normalised = kind_.normalise(pageText);
  // An error page is no baseline: the first good board would differ from it and alert.
  if (!baseline_ && !latestIsErrorPage_) {
    baseline_ = normalised;
    baselinePage_ = pageText;
    baselineHeadings_ = headingCellsOf(page);
  }
  latest_ = normalised;
  latestPage_ = pageText;
  latestHeadings_ = headingCellsOf(page);
}

// The board answers at another address than the settings give (its server redirected the
// browser): watched there, and said once per new address.
void BoardMonitor::followBoard(const QString& pageAddress) {
  if (kind_.server.isEmpty() || IsOnServer(pageAddress, kind_.server)) return;
  const QString origin = originOf(pageAddress);
  if (origin == boardOrigin_) return;
  boardOrigin_ = origin;
  const QString line = QStringLiteral("看板已移至 ") + origin;
  console_.journal().record(Caption(), kind_.journalKind, journal::event::kMoved, line);
  if (!alertStarted_) showChangeLine(line);
}

}  // namespace tidex
