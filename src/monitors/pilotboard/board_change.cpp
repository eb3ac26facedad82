#include "monitors/pilotboard/board_change.h"

#include <algorithm>
#include <vector>

#include <dtl/dtl.hpp>

namespace tidex {
namespace {

const QString kArrow = QStringLiteral(" → ");
const QString kGap = QString(QChar(0x3000));  // ideographic space between a row and its change

std::vector<QString> linesOf(const QString& text) {
  std::vector<QString> lines;
  for (QString line : text.split(QLatin1Char('\n'))) {
    line.remove(QLatin1Char('\r'));
    if (!line.trimmed().isEmpty()) lines.push_back(line);
  }
  return lines;
}

QStringList cellsOf(const QString& row) {
  QStringList cells = row.split(QLatin1Char('\t'));
  for (QString& cell : cells) cell = cell.simplified();
  return cells;
}

bool isRow(const QString& line) { return line.contains(QLatin1Char('\t')); }

bool hasDigit(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// The headings of the board's columns: a row of heading cells, else a row without digits (a
// data row has its times and dates) that both pages show alike; none when there is neither.
QStringList headingsOf(const BoardPageText& baseline, const BoardPageText& latest) {
  const std::vector<QString> rows = linesOf(latest.text);
  for (const QString& line : rows) {
    if (!isRow(line) || latest.headingCells.isEmpty()) continue;
    const QStringList cells = cellsOf(line);
    if (cells.size() >= 2 && std::all_of(cells.begin(), cells.end(), [&](const QString& cell) {
          return cell.isEmpty() || latest.headingCells.contains(cell);
        })) {
      return cells;
    }
  }
  const std::vector<QString> before = linesOf(baseline.text);
  for (const QString& line : rows) {
    if (isRow(line) && !hasDigit(line) &&
        std::find(before.begin(), before.end(), line) != before.end()) {
      return cellsOf(line);
    }
  }
  return {};
}

using Normalise = QString (*)(const QString&);

// Empty when no cell changed in what is compared.
QString rowChange(const QStringList& headings, const QString& oldRow, const QString& newRow,
                  Normalise normalise) {
  const QStringList oldCells = cellsOf(oldRow);
  const QStringList newCells = cellsOf(newRow);
  QStringList changes;
  for (qsizetype i = 1; i < std::max(oldCells.size(), newCells.size()); ++i) {
    const QString was = oldCells.value(i);
    const QString now = newCells.value(i);
    if (normalise(was) == normalise(now)) continue;
    const QString heading = headings.value(i);
    changes << (heading.isEmpty() ? QString() : heading + QLatin1Char(' ')) + was + kArrow + now;
  }
  if (changes.isEmpty()) return QString();
  return newCells.value(0) + kGap + changes.join(QStringLiteral("，"));
}

// A row of the latest page and the row of the baseline with the same first cell (the vessel);
// either is empty for a row added or removed.
struct RowPair {
  QString was;
  QString now;
};

// The changed rows paired by their first cell, in the latest page's order, then those removed.
std::vector<RowPair> pairRows(const LineDifference& diff) {
  QStringList removed = diff.removed;
  std::vector<RowPair> pairs;
  for (const QString& row : diff.added) {
    if (!isRow(row)) continue;
    const QString key = cellsOf(row).value(0);
    qsizetype match = -1;
    for (qsizetype i = 0; i < removed.size() && match < 0; ++i) {
      if (isRow(removed[i]) && cellsOf(removed[i]).value(0) == key) match = i;
    }
    pairs.push_back({match < 0 ? QString() : removed.takeAt(match), row});
  }
  for (const QString& row : removed) {
    if (isRow(row)) pairs.push_back({row, QString()});
  }
  return pairs;
}

// Whether the diff touches a table row at all: then the other lines are not the change.
bool touchesRows(const LineDifference& diff) {
  return std::any_of(diff.added.begin(), diff.added.end(), isRow) ||
         std::any_of(diff.removed.begin(), diff.removed.end(), isRow);
}

// A row as the page showed it: a line per cell, after its column's heading where there is one.
QString shownRow(const QStringList& headings, const QString& row) {
  const QStringList cells = cellsOf(row);
  if (headings.isEmpty()) return cells.join(kGap);
  QStringList lines;
  for (qsizetype i = 0; i < cells.size(); ++i) {
    const QString heading = headings.value(i);
    lines << (heading.isEmpty() ? cells[i] : heading + QStringLiteral("：") + cells[i]);
  }
  return lines.join(QLatin1Char('\n'));
}

struct PageChange {
  QString summary;
  QString before;
  QString after;
};

PageChange pageChange(const BoardPageText& baselinePage, const BoardPageText& latestPage,
                      Normalise normalise) {
  const LineDifference diff = DiffLines(baselinePage.text, latestPage.text);
  const QStringList headings = headingsOf(baselinePage, latestPage);
  QStringList parts;
  QStringList before;
  QStringList after;
  for (const RowPair& pair : pairRows(diff)) {
    const QString key = cellsOf(pair.now.isEmpty() ? pair.was : pair.now).value(0);
    if (pair.was.isEmpty()) {
      parts << key + kGap + QStringLiteral("新增");
    } else if (pair.now.isEmpty()) {
      parts << key + kGap + QStringLiteral("移除");
    } else {
      const QString change = rowChange(headings, pair.was, pair.now, normalise);
      if (change.isEmpty()) continue;  // only what is not compared moved (a pilot)
      parts << change;
    }
    if (!pair.was.isEmpty()) before << shownRow(headings, pair.was);
    if (!pair.now.isEmpty()) after << shownRow(headings, pair.now);
  }
  const QString rowGap = QStringLiteral("\n\n");
  if (!parts.isEmpty()) {
    return {parts.join(QStringLiteral("；")), before.join(rowGap), after.join(rowGap)};
  }
  // No row changed in what is compared: the lines that changed as they were, and without a
  // table the first of them old and new as the summary.
  QStringList wasLines;
  QStringList nowLines;
  for (const QString& line : diff.removed) wasLines << line.simplified();
  for (const QString& line : diff.added) nowLines << line.simplified();
  const QString was = wasLines.value(0);
  const QString now = nowLines.value(0);
  const bool told = !touchesRows(diff) && !(was.isEmpty() && now.isEmpty());
  return {told ? was + kArrow + now : QString(), wasLines.join(QLatin1Char('\n')),
          nowLines.join(QLatin1Char('\n'))};
}

}  // namespace

LineDifference DiffLines(const QString& first, const QString& second) {
  dtl::Diff<QString, std::vector<QString>> diff(linesOf(first), linesOf(second));
  diff.onHuge();
  diff.compose();
  LineDifference result;
  for (const auto& [line, info] : diff.getSes().getSequence()) {
    if (info.type == dtl::SES_DELETE) result.removed << line;
    if (info.type == dtl::SES_ADD) result.added << line;
  }
  return result;
}

BoardChange DescribeBoardChange(const QString& baseline, const QString& latest,
                                const BoardPageText& baselinePage, const BoardPageText& latestPage,
                                QString (*normalise)(const QString&)) {
  const LineDifference lines = DiffLines(baseline, latest);
  const PageChange page = pageChange(baselinePage, latestPage, normalise);
  BoardChange change{lines.removed.join(QLatin1Char('\n')), lines.added.join(QLatin1Char('\n')),
                     page.summary, page.before, page.after};
  if (change.summary.isEmpty()) {
    change.summary = lines.removed.value(0) + kArrow + lines.added.value(0);
  }
  return change;
}

}  // namespace tidex
