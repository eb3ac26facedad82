#pragma once

#include "imct/imct_login_window.h"

namespace tidex {

// The IMCT login window of the console's "BE" button (Command14).
class Form9 final : public ImctLoginWindow {
 public:
  Form9() : ImctLoginWindow(QStringLiteral("Form9"), QStringLiteral("/pda/imctbe.php")) {}
};

}  // namespace tidex
