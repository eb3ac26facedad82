#include "platform/display_platform.h"

#include <QtGlobal>

namespace tidex {

DisplayEnvironment DisplayEnvironment::current() {
  return {qEnvironmentVariable("XDG_SESSION_TYPE"), qEnvironmentVariable("WAYLAND_DISPLAY"),
          qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("QT_QPA_PLATFORM")};
}

QString DisplayPlatformFor(const DisplayEnvironment& environment) {
  if (!environment.qtPlatform.isEmpty()) return {};
  // A terminal of a compositor may lack the session type; its Wayland display says it all.
  const bool wayland =
      environment.sessionType == QLatin1String("wayland") || !environment.waylandDisplay.isEmpty();
  if (wayland && !environment.x11Display.isEmpty()) return QStringLiteral("xcb");
  return {};
}

void PrepareDisplayPlatform() {
  const QString platform = DisplayPlatformFor(DisplayEnvironment::current());
  if (!platform.isEmpty()) qputenv("QT_QPA_PLATFORM", platform.toLatin1());
}

}  // namespace tidex
