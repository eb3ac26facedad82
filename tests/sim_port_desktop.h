#pragma once

#include <utility>

#include <QString>

#include "platform/sim/sim_desktop.h"
#include "sites/port_sites.h"

namespace tidex {

// Holds the port services for SimPortDesktop: a base built before the desktop and destroyed
// after it, so the services answer for as long as the program runs.
struct PortSitesHolder {
  sites::PortSites portSites;
};

// The simulated desktop whose every web address is served by the port services.
class SimPortDesktop final : private PortSitesHolder, public SimDesktop {
 public:
  SimPortDesktop() { setWebServer(&portSites); }
  explicit SimPortDesktop(const QString& start) : SimDesktop(start) { setWebServer(&portSites); }
  SimPortDesktop(const QString& start, QString folder) : SimDesktop(start, std::move(folder)) {
    setWebServer(&portSites);
  }

  sites::PortSites& sites() { return portSites; }
};

}  // namespace tidex
