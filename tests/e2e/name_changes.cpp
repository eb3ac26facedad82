#include "name_changes.h"

namespace tidex::e2e {
namespace {

// Registers for name changes with the bus's registry, which has every program on the bus send
// them, and prints each new name that starts with the prefix on a line of its own. Qt sends the
// object rather than its name: the name is read back at once, while the object still lives.
constexpr auto kListener = R"(
import sys, dbus, dbus.mainloop.glib
from gi.repository import GLib
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
address, prefix = sys.argv[1], sys.argv[2]
bus = dbus.bus.BusConnection(address)
def changed(minor, detail1, detail2, value, *rest, sender=None, path=None):
    if minor != 'accessible-name':
        return
    name = value if isinstance(value, str) else None
    if not name:
        try:
            name = bus.call_blocking(sender, path, 'org.freedesktop.DBus.Properties', 'Get', 'ss',
                                     ['org.a11y.atspi.Accessible', 'Name'], timeout=5)
        except dbus.exceptions.DBusException:
            return
    name = str(name)
    if name.startswith(prefix):
        sys.stdout.buffer.write((name.replace('\n', ' ') + '\n').encode('utf-8'))
        sys.stdout.flush()
bus.add_signal_receiver(changed, 'PropertyChange', 'org.a11y.atspi.Event.Object',
                        sender_keyword='sender', path_keyword='path')
bus.call_blocking('org.a11y.atspi.Registry', '/org/a11y/atspi/registry',
                  'org.a11y.atspi.Registry', 'RegisterEvent', 's',
                  ['object:property-change:accessible-name'])
print('ready', flush=True)
GLib.MainLoop().run()
)";

}  // namespace

NameChanges::NameChanges(const AccessibilityBus& bus, const QString& prefix) {
  if (!bus.started()) return;
  // Debian's own Python, which has the D-Bus and GLib modules.
  listener_.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral("-c"), QString::fromUtf8(kListener), bus.address(), prefix});
  started_ = listener_.waitForReadyRead(10000) && listener_.readLine().startsWith("ready");
}

NameChanges::~NameChanges() {
  listener_.kill();
  listener_.waitForFinished(3000);
}

QStringList NameChanges::names() {
  while (listener_.waitForReadyRead(10)) pending_ += listener_.readAllStandardOutput();
  pending_ += listener_.readAllStandardOutput();
  for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
    names_ << QString::fromUtf8(pending_.left(end));
    pending_.remove(0, end + 1);
  }
  return names_;
}

}  // namespace tidex::e2e
