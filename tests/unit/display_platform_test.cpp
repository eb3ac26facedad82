#include "platform/display_platform.h"

#include <gtest/gtest.h>

namespace tidex {
namespace {

// The program chooses X11 wherever a Wayland session also runs XWayland, so that its alerting
// windows can stay on top and come forward; elsewhere Qt chooses, and the user's choice wins.
TEST(DisplayPlatform, WaylandWithXWaylandRunsOnX11AndTheUsersChoiceWins) {
  struct Case {
    const char* story;
    DisplayEnvironment environment;
    QString platform;
  };
  const Case cases[] = {
      {"Wayland session with XWayland", {"wayland", "wayland-0", ":0", ""}, "xcb"},
      {"Wayland without XWayland: native", {"wayland", "wayland-0", "", ""}, ""},
      {"a compositor's terminal without a session type", {"", "wayland-0", ":1", ""}, "xcb"},
      {"the user asks for Wayland", {"wayland", "wayland-0", ":0", "wayland"}, ""},
      {"the user asks for X11 anywhere", {"wayland", "wayland-0", "", "xcb"}, ""},
      {"X11 session", {"x11", "", ":0", ""}, ""},
      {"no display at all", {"tty", "", "", ""}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayPlatformFor(c.environment), c.platform) << c.story;
  }
}

}  // namespace
}  // namespace tidex
