#include "common/settings.h"

#include "platform/ansi_text.h"
#include "platform/desktop.h"
#include "platform/profile_file.h"

namespace tidex {
namespace {

constexpr int kValueBufferSize = 256;
constexpr char16_t kDefaultServer[] = u"http://127.0.0.1:8080";

}  // namespace

QString settingsFilePath() {
  return Desktop::current().applicationFolder() + QStringLiteral("/Tidex.ini");
}

QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue) {
  return ReadSettingIn(settingsFilePath(), section, key, defaultValue);
}

QList<QPair<QString, QString>> ReadSection(const QString& section) {
  QList<QPair<QString, QString>> entries;
  for (const auto& [key, value] : ProfileFile::getSection(toAnsi(section), settingsFilePath())) {
    entries.append({fromAnsi(key), fromAnsi(value)});
  }
  return entries;
}

void WriteSetting(const QString& section, const QString& key, const QString& value) {
  WriteSettingIn(settingsFilePath(), section, key, value);
}

QString ServerAddress(const QString& name) { return ServerAddressIn(settingsFilePath(), name); }

QString ReadSettingIn(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue) {
  const QString value = fromAnsi(ProfileFile::getString(
      toAnsi(section), toAnsi(key), toAnsi(defaultValue), kValueBufferSize, path));
  const qsizetype nul = value.indexOf(QChar(u'\0'));
  return nul < 0 ? value : value.first(nul);
}

void WriteSettingIn(const QString& path, const QString& section, const QString& key,
                    const QString& value) {
  ProfileFile::writeString(toAnsi(section), toAnsi(key), toAnsi(value), path);
}

QString ServerAddressIn(const QString& path, const QString& name) {
  const QString fallback = name == u"boardip" ? ServerAddressIn(path, QStringLiteral("board"))
                                              : QString::fromUtf16(kDefaultServer);
  QString address = ReadSettingIn(path, QStringLiteral("servers"), name, fallback);
  while (address.endsWith(u'/')) address.chop(1);
  return address;
}

}  // namespace tidex
