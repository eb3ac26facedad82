#include "console/notify_icon_module.h"

#include "platform/ansi_text.h"
#include "platform/desktop.h"

namespace tidex::NotifyIconModule {

QString TrayTip(const QString& caption) {
  QByteArray bytes = toAnsi(caption);
  if (bytes.size() <= 63) return caption;
  bytes.truncate(63);
  QString tip = fromAnsi(bytes);
  // A cut through a two-byte character leaves a stray replacement at the end.
  if (!caption.startsWith(tip)) tip.chop(1);
  return tip;
}

void Add(PictureBox& receiver, const QString& caption) {
  Desktop::current().trayAdd(receiver, TrayTip(caption));
}

void Remove() { Desktop::current().trayRemove(); }

}  // namespace tidex::NotifyIconModule
