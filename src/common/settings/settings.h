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
// Stores a value in the settings file; false when it could not be written. A settings file the
// program creates is its owner's alone.
bool WriteSetting(const QString& section, const QString& key, const QString& value);
// Stores a secret encoded as the IMCT account is (EncodeText: hidden from a glance, no more); a
// file others may read is made its owner's alone. False, with nothing written, when the secret
// cannot be stored as typed (a character outside the code page) or the file not written.
bool WriteSecretSetting(const QString& section, const QString& key, const QString& secret);
// Whether text survives the settings file's code page unchanged.
bool FitsSettingsFile(const QString& text);
// Removes a key, or with an empty key a whole section; false when the file could not be written.
bool RemoveSetting(const QString& section, const QString& key);

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
