#include "platform/autostart_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tidex {
namespace {

// A program path as one quoted argument of an Exec key: inside the quotes ", `, $ and \ take a
// backslash, and every backslash of the value is doubled again by the file's string escaping.
QString execArgument(const QString& path) {
  QString quoted;
  for (const QChar c : path) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += QStringLiteral("\\\\");
    quoted += c;
  }
  return u'"' + quoted + u'"';
}

}  // namespace

QString AutostartEntryPath() {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
  return config + QStringLiteral("/autostart/tidex.desktop");
}

bool AutostartEnabled() { return QFileInfo::exists(AutostartEntryPath()); }

bool SetAutostart(bool on, const QString& programFile) {
  const QString path = AutostartEntryPath();
  if (!on) return !QFileInfo::exists(path) || QFile::remove(path);
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QString entry = QStringLiteral(
                            "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Tidex\n"
                            "Name[zh_TW]=准單查詢\n"
                            "Comment=Watches the port's web pages and alerts on changes\n"
                            "Exec=%1\n"
                            "Icon=tidex\n"
                            "Terminal=false\n"
                            "X-GNOME-Autostart-enabled=true\n")
                            .arg(execArgument(programFile));
  file.write(entry.toUtf8());
  return file.commit();
}

}  // namespace tidex
