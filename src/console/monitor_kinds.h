#pragma once

#include <span>

#include <QRect>
#include <QString>

namespace tidex {

class ConsoleState;
class Form;

// How the watched item typed in the console is taken before a monitor opens for it.
enum class ItemRule {
  UpperCase,   // made upper case
  WebAddress,  // an http or https address, completed as a browser would
};

// One kind of monitor as the console offers it: the input that names its watched item, the
// button that opens one, the timer that reopens one, and how the window is made. The console's
// launcher, its reopen timers and the tests all go through this table; a monitor names its kind
// to the console by the key.
struct MonitorKind {
  const char* key;     // the kind in the journal (journal::kind)
  QString name;        // the kind as the user reads it ("碼頭")
  const char* field;   // the console's input for the watched item ("Text12")
  QRect fieldAt;       // where it stands on the console
  const char* button;  // the console's button that opens a monitor ("Command10")
  QRect buttonAt;
  const char* reopenTimer;  // the console's timer that reopens one; nullptr: never reopened
  ItemRule rule;
  bool logsIn;      // the monitor logs in with the console's account, which must be storable
  QString refusal;  // said when a monitor for the item is open already
  Form& (*open)(ConsoleState& console);  // loads the window; the console sets the caption
};

// Every kind of monitor, in the order of the console's launchers.
std::span<const MonitorKind> MonitorKinds();
// The kind with this key; the first kind for an unknown key.
const MonitorKind& MonitorKindOf(const QString& key);

}  // namespace tidex
