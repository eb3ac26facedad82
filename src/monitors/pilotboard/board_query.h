#pragma once

#include <QString>

namespace tidex {

// The pilot board's query address on server for one vessel name or one wharf code (the other
// left empty). Both go in unchanged, without encoding; OK is the board's own Big5 "search".
QString BoardQuery(const QString& server, const QString& vesselName, const QString& wharfCode);

}  // namespace tidex
