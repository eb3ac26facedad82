#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace tidex {

// Tidex.ini in the application folder.
QString settingsFilePath();

// A value from the settings file, or defaultValue; at most 255 bytes in the code page.
QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue);
// Every key of a section with its value, in file order, from one read of the file.
QList<QPair<QString, QString>> ReadSection(const QString& section);
// The same for a section that configures the installation (servers, pilots): when the file has
// no such section (deleted, overwritten, unreadable), its content as last read in this run.
QList<QPair<QString, QString>> ReadInstallationSection(const QString& section);
// Stores a value in the settings file; false when it could not be written.
bool WriteSetting(const QString& section, const QString& key, const QString& value);

// The address of a server named in the "servers" section (board, boardip, customs, imct, maker)
// without trailing slashes, its scheme and host in lower case and a default port left out
// ("http://HOST:80/" gives "http://host"). boardip defaults to board, the others to a local
// address.
QString ServerAddress(const QString& name);

// The same, on the settings file at path.
QString ReadSettingIn(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue);
bool WriteSettingIn(const QString& path, const QString& section, const QString& key,
                    const QString& value);
QString ServerAddressIn(const QString& path, const QString& name);

}  // namespace tidex
