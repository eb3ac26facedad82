#pragma once

#include "imct/imct_login_window.h"

namespace tidex {

// The IMCT login window of the console's "BA" button (Command13).
class Form8 final : public ImctLoginWindow {
 public:
  explicit Form8(ConsoleState& console)
      : ImctLoginWindow(console, QStringLiteral("Form8"), QStringLiteral("/pda/imctba.php")) {}
};

}  // namespace tidex
