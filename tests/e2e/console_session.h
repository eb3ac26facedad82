#pragma once

#include <QStringList>
#include <QTemporaryDir>

#include "accessibility_bus.h"
#include "program_runner.h"

namespace tidex::e2e {

// The real program on a virtual display with an accessibility bus, against tidex-sites on
// loopback, its console shown: where an end-to-end story of the user begins.
class ConsoleSession {
 public:
  ConsoleSession();
  // Points the settings at tidex-sites, starts the program and shows its console; true once
  // the console's buttons are on the accessibility bus.
  bool start();
  // Presses the console's button with this caption, as a screen reader does.
  bool pressConsoleButton(const QString& caption) const;
  // The summaries of the journal's rows of this event, oldest first, read as another program
  // reads them while Tidex runs.
  QStringList journalSummaries(const QString& event) const;

  VirtualDisplay display;
  AccessibilityBus a11y;
  SitesRunner sites;
  QTemporaryDir home;
  ProgramRunner program;
};

}  // namespace tidex::e2e
