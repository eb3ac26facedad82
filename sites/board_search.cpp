#include "board_search.h"

#include <QList>

#include "platform/ansi_text.h"

namespace tidex::sites {

QString DecodeFormValue(const QByteArray& encoded) {
  QByteArray bytes = encoded;
  bytes.replace('+', ' ');
  return fromAnsi(QByteArray::fromPercentEncoding(bytes));
}

BoardSearch BoardSearch::FromQuery(const QByteArray& query) {
  BoardSearch search;
  struct Field {
    const char* key;
    QString* value;
    bool seen = false;
  } fields[] = {
      {"QSP_ID", &search.id},        {"QSP_ENAME", &search.vessel}, {"QSP_PORT", &search.wharf},
      {"QSP_PAGID", &search.pageId}, {"SP_CALL", &search.call},     {"SEARCH", &search.search},
      {"iPage", &search.page},
  };
  for (const QByteArray& pair : query.split('&')) {
    const qsizetype equals = pair.indexOf('=');
    const QString key = DecodeFormValue(pair.left(equals < 0 ? pair.size() : equals));
    for (Field& field : fields) {
      // The first occurrence of a key counts.
      if (field.seen || key.compare(QLatin1String(field.key), Qt::CaseInsensitive) != 0) continue;
      field.seen = true;
      if (equals >= 0) *field.value = DecodeFormValue(pair.mid(equals + 1));
    }
  }
  return search;
}

std::vector<VesselCall> BoardSearch::select(const std::vector<VesselCall>& calls) const {
  const QString wharfCode = wharf.trimmed();
  const QString name = vessel.trimmed();
  std::vector<VesselCall> selected;
  for (const VesselCall& candidate : calls) {
    const bool match = !wharfCode.isEmpty()
                           ? candidate.wharf.compare(wharfCode, Qt::CaseInsensitive) == 0
                       : !name.isEmpty() ? candidate.vessel.contains(name, Qt::CaseInsensitive)
                                         : true;
    if (match) selected.push_back(candidate);
  }
  return selected;
}

}  // namespace tidex::sites
