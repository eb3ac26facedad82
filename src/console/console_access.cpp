#include "console/console_access.h"

#include <cstdlib>

#include "console/form1.h"
#include "platform/desktop.h"

namespace tidex {

Form1& Console() {
  for (Form* window : Desktop::current().windows().all()) {
    if (auto* console = dynamic_cast<Form1*>(window)) return *console;
  }
  std::abort();  // every other window is opened from the console
}

}  // namespace tidex
