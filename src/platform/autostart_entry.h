#pragma once

#include <QString>

namespace tidex {

// The desktop's autostart entry that starts the program with the session
// ($XDG_CONFIG_HOME/autostart/tidex.desktop, else ~/.config/autostart/tidex.desktop). Windows
// reach it through Desktop::startsWithSession and Desktop::setStartsWithSession.
QString AutostartEntryPath();
bool AutostartEnabled();
// Writes the entry for programFile, or removes it; false when that failed.
bool SetAutostart(bool on, const QString& programFile);

}  // namespace tidex
