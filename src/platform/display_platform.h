#pragma once

#include <QString>

namespace tidex {

// What a desktop session says about its displays, as the environment tells it.
struct DisplayEnvironment {
  QString sessionType;     // XDG_SESSION_TYPE
  QString waylandDisplay;  // WAYLAND_DISPLAY
  QString x11Display;      // DISPLAY
  QString qtPlatform;      // QT_QPA_PLATFORM, the user's own choice

  static DisplayEnvironment current();
};

// The Qt platform the program asks for, or empty to leave Qt's own choice. Wayland lets no
// program keep its window on top or bring it forward, and has no tray of the kind X11 has: a
// Wayland session that also runs an X server for X11 programs (XWayland, which sets DISPLAY)
// gets the program on X11. The user's QT_QPA_PLATFORM always wins.
QString DisplayPlatformFor(const DisplayEnvironment& environment);

// Applies that choice; call before the QApplication exists.
void PrepareDisplayPlatform();

}  // namespace tidex
