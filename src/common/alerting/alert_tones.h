#pragma once

#include "common/console_state.h"

namespace tidex {

// The alert's two tones, 1000 Hz then 3000 Hz for 300 ms each, unless the console is silent.
void PlayAlertTones(ConsoleState& console);

}  // namespace tidex
