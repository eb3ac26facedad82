#pragma once

#include <QString>
#include <QStringList>

#include "platform/web_browser.h"

namespace tidex {

// The board text reduced to what the wharf and URL monitors compare: blanks, line breaks, the
// board's headings, the known pilots with their numbers, the pilot-exempt marker, Latin
// letters and ":", "-", ">" removed; "/Y" and "/N" become the only line breaks left.
// pilots: PilotNameList, ascending by number.
QString NormaliseBoardText(const QString& text, const QStringList& pilots);

// The vessel monitor's shorter chain: keeps "最近動態", Latin letters, ":", "-" and ">".
QString NormaliseVesselBoardText(const QString& text, const QStringList& pilots);

// How a board monitor takes a completed page.
struct BoardPageReading {
  enum class Verdict {
    Board,      // compared: the board, or a page of its server without error texts
    ErrorPage,  // not compared: the load failed, or the board's server shows an error
    Elsewhere,  // not compared: a page of another site without the board's search form
    Unread,     // nothing to take: the page could not be read at all
  };
  Verdict verdict = Verdict::Board;
  QString reason;  // why it is not compared, as the user reads it
};

// load: how the page loaded; carriesSearchForm: it has the board's search field (what makes
// it the board, wherever it answers); formSeen: the board has shown the form before (a page
// without it is then a maintenance, blank or other page, never the board); onBoardServer: it
// stands where the board answers. A page that loaded and carries the form is the board whatever
// its text shows (a vessel named 500, a call marked 取消); only on a board that never showed the
// form is a page read for the error texts "無法", "取消" and 500 or 501 as a number of its own.
BoardPageReading ReadBoardPage(const QString& renderedText, const LoadResult& load,
                               bool carriesSearchForm, bool formSeen, bool onBoardServer);

}  // namespace tidex
