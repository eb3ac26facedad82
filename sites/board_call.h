#pragma once

#include <QString>

namespace tidex::sites {

// One vessel call as a row of the pilot information board.
struct VesselCall {
  QString vessel;         // English name, "YM HARMONY"
  QString wharf;          // "1108"
  QString arrivalDate;    // "2026/12/08"
  QString arrivalTime;    // "14:30"
  QString departureDate;  // "2026/12/09"
  QString departureTime;  // "06:20"
  QString berth;
  QString status;             // "靠泊中", "預定進港", "已離港"
  QString pilotNumber;        // "0037"; "0000" no pilot assigned yet; "" pilot-exempt
  bool pilotSplit = false;    // pilot number and name in two cells instead of one
  bool pilotRequired = true;  // the "/Y" or "/N" mark
  bool bowThruster = false;   // the 艏推 column: 有 or 無
};

}  // namespace tidex::sites
