#pragma once

#include <QString>

// The sections and keys of Tidex.ini, named once. Registration numbers are keys of their own
// in the finding sections.
namespace tidex::settings_keys {

// [setup]: the console's stored fields, the show-all flag and the end time.
inline const QString kSetup = QStringLiteral("setup");
inline const QString kAccount = QStringLiteral("001");
inline const QString kPassword = QStringLiteral("002");
inline const QString kRegistrationNumber = QStringLiteral("003");
inline const QString kShowAll = QStringLiteral("004");  // "1" asks every monitor to show itself
inline const QString kLocation = QStringLiteral("005");
inline const QString kEndTime = QStringLiteral("EndTime");

// Per registration number: 1 found, 0 not found yet; and when each was last answered.
inline const QString kFound = QStringLiteral("Touchfiles");
inline const QString kFoundTime = QStringLiteral("TouchfilesTime");
inline const QString kNotFoundTime = QStringLiteral("NoTouchfilesTime");

// What the user sets up: the servers (by kServer* key) and the known pilots.
inline const QString kServers = QStringLiteral("servers");
inline const QString kPilots = QStringLiteral("pilots");
inline const QString kServerBoard = QStringLiteral("board");
inline const QString kServerBoardIp = QStringLiteral("boardip");
inline const QString kServerCustoms = QStringLiteral("customs");
inline const QString kServerImct = QStringLiteral("imct");
inline const QString kServerMaker = QStringLiteral("maker");

}  // namespace tidex::settings_keys
