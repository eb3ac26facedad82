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

// Whether a completed page is an error page rather than the board: the browser reports a
// failed load or an HTTP status of 400 or more, or the rendered text says "無法" or "取消",
// or holds 500 or 501 as a number of its own (no digit right before or after it).
bool IsErrorPage(const QString& renderedText, const LoadResult& load);

}  // namespace tidex
