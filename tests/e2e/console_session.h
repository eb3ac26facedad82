#pragma once

#include <optional>
#include <string>

#include <QStringList>
#include <QTemporaryDir>

#include "accessibility_bus.h"
#include "desktop_parts.h"
#include "program_runner.h"

namespace tidex::e2e {

// The real program on a virtual display with an accessibility bus, against tidex-sites on
// loopback, its console shown: where an end-to-end story of the user begins. A test prepares
// the services and the home folder (settings, journal, the program's environment) before
// start().
class ConsoleSession {
 public:
  // Openbox places, stacks and focuses the windows as a user's desktop does, and may refuse
  // them the focus; without a window manager nothing comes between the program and X.
  enum class Manager { None, Openbox };

  explicit ConsoleSession(Manager manager = Manager::None);
  // The console's caption with the version, as the program makes it.
  static QString consoleCaption();
  // Points the settings at tidex-sites, starts the program (its clock clockRate times faster
  // than the wall clock when above 1) and shows its console; true once the console and its
  // buttons are on screen and on the accessibility bus, else failure() says what was not.
  bool start(int clockRate = 1);
  const std::string& failure() const { return failure_; }

  // The console on the accessibility bus.
  Accessible console() const;
  // The console's control with this role and accessible name.
  Accessible consoleControl(const QString& role, const QString& name) const;
  // Presses the console's button with this caption, as a screen reader does.
  bool pressConsoleButton(const QString& caption) const;
  // Clicks the console's control with this role and accessible name with the mouse.
  bool clickConsole(const QString& role, const QString& name) const;
  // The X window of the shown window with this title; empty when there is none.
  QString window(const QString& title) const;
  // Gives the shown window with this title the keyboard focus (through the window manager
  // when there is one); true once it has it.
  bool focus(const QString& title) const;
  // The summaries of the journal's rows of this event, oldest first, read as another program
  // reads them while Tidex runs.
  QStringList journalSummaries(const QString& event) const;

  VirtualDisplay display;
  std::optional<WindowManager> windowManager;
  AccessibilityBus a11y;
  SitesRunner sites;
  QTemporaryDir home;
  ProgramRunner program;

 private:
  bool fail(std::string what);
  std::string failure_;
};

// Starts the settings file in home with the account the IMCT service knows (TIDEX / PASS), saved
// as the console saves it; false when it could not be written.
bool WriteKnownAccount(const QString& home);

}  // namespace tidex::e2e
