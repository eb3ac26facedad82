#include "board_demo.h"

#include <algorithm>

#include <QDateTime>

namespace tidex::sites {
namespace {

const QString kFormat = QStringLiteral("yyyy/MM/dd HH:mm");

// A wharf monitor drops letters, blanks and colons from the page text, so the arrival day, the
// time and the departure year may run together into one string of digits.
bool readsAsErrorMarker(const QDateTime& arrival, const QString& departureDate) {
  const QString digits =
      arrival.toString(QStringLiteral("ddHHmm")) + departureDate.section(u'/', 0, 0);
  return digits.contains(u"500") || digits.contains(u"501");
}

}  // namespace

QString AdvanceDemoArrival(BoardService& board, const QString& wharf) {
  const auto& calls = board.calls();
  const auto first = std::find_if(calls.begin(), calls.end(),
                                  [&](const VesselCall& call) { return call.wharf == wharf; });
  if (first == calls.end()) return {};
  const VesselCall call = *first;
  // In UTC, so that no daylight-saving gap skips or repeats a time.
  const QDate date = QDate::fromString(call.arrivalDate, QStringLiteral("yyyy/MM/dd"));
  const QTime time = QTime::fromString(call.arrivalTime, QStringLiteral("HH:mm"));
  if (!date.isValid() || !time.isValid()) return {};
  const QDateTime before(date, time, Qt::UTC);
  QDateTime after = before.addSecs(600);
  while (readsAsErrorMarker(after, call.departureDate)) after = after.addSecs(600);
  board.setBerthTime(wharf, call.vessel, after.toString(kFormat));
  return QStringLiteral("%1 at %2: arrival %3 -> %4")
      .arg(call.vessel, wharf, before.toString(kFormat), after.toString(kFormat));
}

}  // namespace tidex::sites
