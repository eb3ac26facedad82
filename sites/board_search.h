#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

#include "board_call.h"

namespace tidex::sites {

// The board's query fields, decoded from a raw query string (Big5, percent-encoded, '+' for a
// blank). Keys compare without regard to case, as the board's server does.
struct BoardSearch {
  QString id;      // QSP_ID
  QString vessel;  // QSP_ENAME
  QString wharf;   // QSP_PORT
  QString pageId;  // QSP_PAGID
  QString call;    // SP_CALL
  QString search;  // SEARCH
  QString page;    // iPage

  static BoardSearch FromQuery(const QByteArray& query);

  // The calls the search selects, in board order: those at the wharf if one is given, else
  // those whose vessel name contains the given name (any case), else all.
  std::vector<VesselCall> select(const std::vector<VesselCall>& calls) const;
};

// One form value: '+' is a blank, %XX a byte, and the bytes are Big5.
QString DecodeFormValue(const QByteArray& encoded);

}  // namespace tidex::sites
