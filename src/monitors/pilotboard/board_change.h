#pragma once

#include <QString>
#include <QStringList>

namespace tidex {

// The lines only in the first text and those only in the second, by a line difference;
// blank lines and carriage returns do not count.
struct LineDifference {
  QStringList removed;
  QStringList added;
};
LineDifference DiffLines(const QString& first, const QString& second);

// What moved on a board between the baseline and the latest page.
struct BoardChange {
  QString before;   // the normalised lines only in the baseline, one per line
  QString after;    // the normalised lines only in the latest
  QString summary;  // one line, e.g. "YM HARMONY　抵港時間 14:30 → 14:40"
};

// baseline, latest: the normalised texts compared; baselinePage, latestPage: the same pages'
// text as read; normalise: what reduced them. A table row (cells between tabs, under a heading
// row) that changed is told by its first cell and the headings of the cells whose normalised
// text changed (a pilot swapped on a board that leaves pilots out is not told); other lines as
// "old → new".
BoardChange DescribeBoardChange(const QString& baseline, const QString& latest,
                                const QString& baselinePage, const QString& latestPage,
                                QString (*normalise)(const QString&));

}  // namespace tidex
