#pragma once

#include <QString>

#include "board_service.h"

namespace tidex::sites {

// One step of the demo: moves the arrival of the first call at wharf ten minutes later, and on
// by tens of minutes while the new time would read as an error marker ("500", "501") to a wharf
// monitor. Returns a line saying what moved; empty if the wharf has no call or the call's
// arrival is not a valid date and time.
QString AdvanceDemoArrival(BoardService& board, const QString& wharf);

}  // namespace tidex::sites
