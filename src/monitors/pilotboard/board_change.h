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
  // The rows that changed as the pages showed them: each cell on a line of its own after its
  // column's heading ("抵港時間：14:30"), a blank line between rows; lines of a page without a
  // table as they were.
  QString pageBefore{};
  QString pageAfter{};
};

// A page as read: its text, and the text of its heading cells (TH) in document order.
struct BoardPageText {
  QString text;
  QStringList headingCells{};
};

// baseline, latest: the normalised texts compared; baselinePage, latestPage: the same pages
// as read; normalise: what reduced them. A table row (cells between tabs) that changed is told
// by its first cell and, for each cell whose normalised text changed (a pilot swapped on a
// board that leaves pilots out is not told), its column's heading with old → new. Headings
// come only from a row that is one: made of heading cells, or else a row without digits that
// both pages show alike; without one the cells are told as old → new alone. Other lines as
// "old → new".
BoardChange DescribeBoardChange(const QString& baseline, const QString& latest,
                                const BoardPageText& baselinePage, const BoardPageText& latestPage,
                                QString (*normalise)(const QString&));

}  // namespace tidex
