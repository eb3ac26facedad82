#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/text/text_codec.h"

#include <QHash>
#include <QUrl>

#include "platform/ansi_text.h"
#include "platform/desktop.h"
#include "platform/profile_file.h"

namespace tidex {
namespace {

constexpr int kValueBufferSize = 256;
constexpr char16_t kDefaultServer[] = u"http://127.0.0.1:8080";

using Section = QList<QPair<QString, QString>>;

Section readSectionIn(const QString& path, const QString& section) {
  Section entries;
  for (const auto& [key, value] : ProfileFile::getSection(toAnsi(section), path)) {
    entries.append({fromAnsi(key), fromAnsi(value)});
  }
  return entries;
}

// The installation's sections (servers, pilots) as last read with content: a settings file that
// is deleted, overwritten or unreadable for a moment must not send the monitors to another
// server or forget the pilots.
Section readInstallationSectionIn(const QString& path, const QString& section) {
  static QHash<QString, Section> lastGood;
  Section entries = readSectionIn(path, section);
  const QString key = path + u'\n' + section;
  if (!entries.isEmpty()) {
    lastGood.insert(key, entries);
  } else {
    entries = lastGood.value(key);
  }
  return entries;
}

// The base as one spelling of its address: scheme and host in lower case, a default port left
// out, no trailing slash; the path as given. Page addresses are built by appending to it and
// compared with what the browser reports, which it spells the same way.
QString canonicalBase(QString address) {
  while (address.endsWith(u'/')) address.chop(1);
  QUrl url(address, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https") ||
      url.hasQuery() || url.hasFragment()) {
    return address;
  }
  if (url.port() == (scheme == u"https" ? 443 : 80)) url.setPort(-1);
  const qsizetype authorityStart = address.indexOf(u"://") + 3;
  qsizetype pathStart = address.indexOf(u'/', authorityStart);
  if (pathStart < 0) pathStart = address.size();
  return scheme + QStringLiteral("://") + url.authority(QUrl::FullyEncoded) +
         address.mid(pathStart);
}

}  // namespace

QString settingsFilePath() {
  return Desktop::current().applicationFolder() + QStringLiteral("/Tidex.ini");
}

QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue) {
  return ReadSettingIn(settingsFilePath(), section, key, defaultValue);
}

QList<QPair<QString, QString>> ReadSection(const QString& section) {
  return readSectionIn(settingsFilePath(), section);
}

QList<QPair<QString, QString>> ReadInstallationSection(const QString& section) {
  return readInstallationSectionIn(settingsFilePath(), section);
}

bool WriteSetting(const QString& section, const QString& key, const QString& value) {
  return WriteSettingIn(settingsFilePath(), section, key, value);
}

bool WriteSecretSetting(const QString& section, const QString& key, const QString& secret) {
  if (!FitsSettingsFile(secret)) return false;
  return ProfileFile::writeString(toAnsi(section), toAnsi(key), toAnsi(EncodeText(secret)),
                                  settingsFilePath(), ProfileFile::Privacy::Secret);
}

bool FitsSettingsFile(const QString& text) { return fromAnsi(toAnsi(text)) == text; }

bool RemoveSetting(const QString& section, const QString& key) {
  return ProfileFile::remove(toAnsi(section), toAnsi(key), settingsFilePath());
}

QString ServerAddress(const QString& name) { return ServerAddressIn(settingsFilePath(), name); }

QString ReadSettingIn(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue) {
  const QString value = fromAnsi(ProfileFile::getString(
      toAnsi(section), toAnsi(key), toAnsi(defaultValue), kValueBufferSize, path));
  const qsizetype nul = value.indexOf(QChar(u'\0'));
  return nul < 0 ? value : value.first(nul);
}

bool WriteSettingIn(const QString& path, const QString& section, const QString& key,
                    const QString& value) {
  return ProfileFile::writeString(toAnsi(section), toAnsi(key), toAnsi(value), path);
}

QString ServerAddressIn(const QString& path, const QString& name) {
  QString address;
  for (const auto& [key, value] : readInstallationSectionIn(path, settings_keys::kServers)) {
    if (key.trimmed().compare(name, Qt::CaseInsensitive) == 0) {
      address = value.trimmed();
      break;
    }
  }
  if (address.isEmpty()) {
    address = name == u"boardip" ? ServerAddressIn(path, QStringLiteral("board"))
                                 : QString::fromUtf16(kDefaultServer);
  }
  return canonicalBase(address);
}

}  // namespace tidex
