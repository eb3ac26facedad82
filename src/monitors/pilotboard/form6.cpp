#include "monitors/pilotboard/form6.h"

#include "console/form1.h"
#include "console/settings.h"
#include "monitors/pilotboard/board_query.h"
#include "monitors/pilotboard/board_text.h"
#include "monitors/pilotboard/pilot_name_list.h"

namespace tidex {

TextBox& Form6::WatchedItemField(Form1& console) const { return console.Text12; }

Timer& Form6::ReopenTimer(Form1& console) const { return console.Timer6; }

QString Form6::ReopenQuestion() const { return QStringLiteral("是否重新開船名？ "); }

QString Form6::PageAddress(const QString& item) const {
  return BoardQuery(ServerAddress(QStringLiteral("board")), QString(), item);
}

QString Form6::SearchFieldName() const { return QStringLiteral("QSP_PORT"); }

QString Form6::Normalise(const QString& pageText) const {
  return NormaliseBoardText(pageText, PilotNameList());
}

}  // namespace tidex
