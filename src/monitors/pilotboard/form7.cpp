#include "monitors/pilotboard/form7.h"

#include "console/form1.h"

namespace tidex {

TextBox& Form7::WatchedItemField(Form1& console) const { return console.Text13; }

Timer& Form7::ReopenTimer(Form1& console) const { return console.Timer7; }

QString Form7::ReopenQuestion() const { return QStringLiteral("是否重新開URL？ "); }

// Exactly as typed: no query is built.
QString Form7::PageAddress(const QString& item) const { return item; }

}  // namespace tidex
