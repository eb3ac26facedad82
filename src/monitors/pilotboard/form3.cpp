#include "monitors/pilotboard/form3.h"

#include "console/form1.h"
#include "console/settings.h"
#include "monitors/pilotboard/board_query.h"
#include "monitors/pilotboard/board_text.h"
#include "monitors/pilotboard/pilot_name_list.h"

namespace tidex {

TextBox& Form3::WatchedItemField(Form1& console) const { return console.Text9; }

Timer& Form3::ReopenTimer(Form1& console) const { return console.Timer5; }

QString Form3::ReopenQuestion() const { return QStringLiteral("是否重新開船名？ "); }

QString Form3::PageAddress(const QString& item) const {
  return BoardQuery(ServerAddress(QStringLiteral("board")), item, QString());
}

QString Form3::SearchFieldName() const { return QStringLiteral("QSP_ENAME"); }

QString Form3::Normalise(const QString& pageText) const {
  return NormaliseVesselBoardText(pageText, PilotNameList());
}

}  // namespace tidex
