#include "monitors/pilotboard/form7.h"

#include "console/form1.h"
#include "monitors/pilotboard/board_text.h"
#include "monitors/pilotboard/pilot_name_list.h"

namespace tidex {

TextBox& Form7::WatchedItemField(Form1& console) const { return console.Text13; }

Timer& Form7::ReopenTimer(Form1& console) const { return console.Timer7; }

QString Form7::ReopenQuestion() const { return QStringLiteral("是否重新開URL？ "); }

// Exactly as typed: no query is built.
QString Form7::PageAddress(const QString& item) const { return item; }

QString Form7::SearchFieldName() const { return QString(); }

QString Form7::Normalise(const QString& pageText) const {
  return NormaliseBoardText(pageText, PilotNameList());
}

}  // namespace tidex
