#pragma once

#include <QStringList>

namespace tidex {

// The known pilots as the board shows them, number immediately followed by name ("0037王大明"),
// ascending by number: 0035, 0037, 0039 and 0041 to 0090, with the names from the settings
// file's pilots section; a number without a name is left out.
QStringList PilotNameList();
// The numbers a known pilot can have, ascending: 0035, 0037, 0039, 0041 to 0090.
QStringList KnownPilotNumbers();

}  // namespace tidex
