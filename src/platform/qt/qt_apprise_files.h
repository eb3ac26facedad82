#pragma once

#include <QByteArray>
#include <QString>

namespace tidex {

// The configuration files that hand an Apprise address (and its token) to the apprise command
// for as long as it runs. Only the user can read one; each is named
// tidex-apprise-<pid>-XXXXXX.txt in the temporary folder, so that a later run knows whose it is.

// A new file holding the text; empty when it could not be written.
QString WriteAppriseConfig(const QByteArray& text);
// Removes the file (again: nothing).
void RemoveAppriseConfig(const QString& path);
// Removes every file this run still has: the program's quick exit and its end.
void RemoveAppriseConfigs();
// Removes the files of copies of the program that are no longer running (a crash, a power cut).
void RemoveLeftoverAppriseConfigs();

}  // namespace tidex
