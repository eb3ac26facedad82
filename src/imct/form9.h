#pragma once

#include "imct/imct_login_window.h"

namespace tidex {

// The IMCT login window of the console's "BE" button (Command14).
class Form9 final : public ImctLoginWindow {
 public:
  explicit Form9(ConsoleState& console)
      : ImctLoginWindow(console, QStringLiteral("Form9"), QStringLiteral("/pda/imctbe.php")) {}
};

}  // namespace tidex
