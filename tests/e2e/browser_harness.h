#pragma once

#include <chrono>
#include <functional>

#include <QString>

namespace tidex::e2e {

// Makes, on first use, the QApplication (offscreen, engine sandbox off) and the QtDesktop the
// browser tests share; both are torn down after the last test of the process.
void ensureBrowserDesktop();
// The settings folder of that desktop (TIDEX_HOME).
QString browserDesktopHome();

// Runs the event loop until the condition holds or the time is up; test code only.
bool spinUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
void spinFor(std::chrono::milliseconds time);

}  // namespace tidex::e2e
