#pragma once

#include "imct/imct_login_window.h"

namespace tidex {

// The IMCT login window of the console's "BC" button (Command8).
class Form4 final : public ImctLoginWindow {
 public:
  Form4() : ImctLoginWindow(QStringLiteral("Form4"), QStringLiteral("/pda/imct.php")) {}
};

}  // namespace tidex
