#pragma once

#include <vector>

#include <QByteArray>

#include "board_call.h"
#include "board_search.h"

namespace tidex::sites {

// The board page in Big5: heading, the search form prefilled from search, and one table row per
// call. The page holds nothing that changes by itself (no clock), so two loads of an unchanged
// board are identical.
QByteArray BoardPage(const BoardSearch& search, const std::vector<VesselCall>& rows);

// The small Big5 page the board's server sends with an error status.
QByteArray BoardErrorPage(int status);

}  // namespace tidex::sites
