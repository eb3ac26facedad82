#include "monitors/pilotboard/pilot_name_list.h"

#include <QHash>

#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"

namespace tidex {

QStringList KnownPilotNumbers() {
  QStringList numbers{QStringLiteral("0035"), QStringLiteral("0037"), QStringLiteral("0039")};
  for (int n = 41; n <= 90; ++n) numbers << QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
  return numbers;
}

QStringList PilotNameList() {
  const QStringList numbers = KnownPilotNumbers();
  // One read of the settings file per page, not one per pilot.
  QHash<QString, QString> names;
  for (const auto& [number, name] : ReadInstallationSection(settings_keys::kPilots)) {
    names.insert(number.trimmed(), name.trimmed());
  }
  QStringList entries;
  for (const QString& number : numbers) {
    const QString name = names.value(number);
    if (!name.isEmpty()) entries << number + name;
  }
  return entries;
}

}  // namespace tidex
