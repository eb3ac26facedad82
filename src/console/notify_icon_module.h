#pragma once

#include <QString>

namespace tidex {

class PictureBox;

// The program's one tray icon: added once at start-up, removed for good by any caller.
namespace NotifyIconModule {

// The tooltip: the caption cut to the 63 ANSI bytes the tray record holds.
QString TrayTip(const QString& caption);
void Add(PictureBox& receiver, const QString& caption);
void Remove();

}  // namespace NotifyIconModule
}  // namespace tidex
