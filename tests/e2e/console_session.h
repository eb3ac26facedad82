#pragma once

#include <optional>
#include <string>

#include <QStringList>
#include <QTemporaryDir>

#include "accessibility_bus.h"
#include "desktop_parts.h"
#include "program_runner.h"

namespace tidex::e2e {

// The program's clock (and its browser's), through faketime: from `moment` ("2026-12-08
// 10:28:55") on when one is given, else `rate` times faster than the wall clock from now.
struct ProgramClock {
  static ProgramClock faster(int rate) { return {rate, {}}; }
  static ProgramClock from(const QString& moment) { return {1, moment}; }
  int rate = 1;
  QString moment;
};

// The real program on a virtual display with an accessibility bus, against tidex-sites on
// loopback: where an end-to-end story of the user begins. A test prepares
// the services and the home folder (settings, journal, the program's environment) before it
// starts the program.
class ConsoleSession {
 public:
  // Openbox places, stacks and focuses the windows as a user's desktop does, and may refuse
  // them the focus; without a window manager nothing comes between the program and X.
  enum class Manager { None, Openbox };
  // What the program finds in its home folder when it starts: settings that point it at
  // tidex-sites, or nothing, as on a new computer.
  enum class Home { Sites, Empty };
  explicit ConsoleSession(Manager manager = Manager::None, Home home = Home::Sites);
  // The console's caption with the version, as the program makes it.
  static QString consoleCaption();

  // Starts the program and shows its console as a user does, by starting it a second time;
  // true once the console and its buttons are on screen and on the accessibility bus, else
  // failure() says what the user saw instead.
  bool start(ProgramClock clock = {});
  // Starts the program as the desktop does at log-in, its console hidden; true once it has
  // written its settings file.
  bool startHidden(ProgramClock clock = {});
  // Starts another copy of the program on the same home folder and display; true when it
  // ended by itself within ten seconds, as a copy does that finds one running.
  bool startSecondCopy() const;
  // Shows the console of the running program as a user does, by starting it a second time; true
  // once the console and its buttons are on screen and on the accessibility bus.
  bool showConsole();
  // Ends the program from the console's File menu, answering its question 是 (Yes); true once
  // the question was answered, else failure() says what was missing.
  bool endFromFileMenu();
  // Ends the program at once, as a crash or a power cut does: it writes nothing on its way out.
  void stop();
  // Starts the program again on the same home folder and display, its console hidden; true
  // once it runs and its settings file is there.
  bool restart(ProgramClock clock = {});
  const std::string& failure() const { return failure_; }

  // The console on the accessibility bus.
  Accessible console() const;
  // The console's control with this role and accessible name.
  Accessible consoleControl(const QString& role, const QString& name) const;
  // Presses the console's button with this caption, as a screen reader does.
  bool pressConsoleButton(const QString& caption) const;
  // Presses the console's 碼頭 button, its field holding `wharf`, and waits until that wharf's
  // monitor is on screen and has its baseline: the board was asked for the wharf and searched.
  bool openWharfMonitor(const QString& wharf = QStringLiteral("1108"));
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
  // The journal's rows of this event, oldest first: each the columns named ("summary",
  // "page_before" …), read the same way.
  QList<QStringList> journalRows(const QString& event, const QStringList& columns) const;

  VirtualDisplay display;
  std::optional<WindowManager> windowManager;
  AccessibilityBus a11y;
  SitesRunner sites;
  QTemporaryDir home;
  ProgramRunner program;

 private:
  bool fail(std::string what);
  void launch(const ProgramClock& clock);
  bool settingsWritten() const;
  std::string failure_;
  Home home_;
};

// Starts the settings file in home with the account the IMCT service knows (TIDEX / PASS), saved
// as the console saves it; false when it could not be written.
bool WriteKnownAccount(const QString& home);

}  // namespace tidex::e2e
