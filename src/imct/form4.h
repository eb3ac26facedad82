#pragma once

#include "imct/imct_login_window.h"

namespace tidex {

// The IMCT login window of the console's "BC" button (Command8).
class Form4 final : public ImctLoginWindow {
 public:
  explicit Form4(ConsoleState& console)
      : ImctLoginWindow(console, QStringLiteral("Form4"), QStringLiteral("/pda/imct.php")) {}
};

}  // namespace tidex
