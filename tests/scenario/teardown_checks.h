#pragma once

// Fails the running test once for every page left stalled and every message box left
// unanswered by the simulated desktops destroyed since the last call. Every scenario test runs
// it as it ends.
void FailOnLeftoversOfDesktops();
