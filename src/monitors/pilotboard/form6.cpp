#include "monitors/pilotboard/form6.h"

#include "console/form1.h"
#include "console/settings.h"
#include "monitors/pilotboard/board_query.h"

namespace tidex {

TextBox& Form6::WatchedItemField(Form1& console) const { return console.Text12; }

Timer& Form6::ReopenTimer(Form1& console) const { return console.Timer6; }

QString Form6::ReopenQuestion() const { return QStringLiteral("是否重新開船名？ "); }

QString Form6::PageAddress(const QString& item) const {
  return BoardQuery(ServerAddress(QStringLiteral("board")), QString(), item);
}

}  // namespace tidex
