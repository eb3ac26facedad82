#pragma once

#include <vector>

#include <QString>

namespace tidex {

class Form;
class TextBox;

// The running monitors: the open windows that watch something (WatchingWindow), hidden ones
// included, in creation order. The console and its side windows are not among them.
std::vector<Form*> OpenMonitors();

// The captions of the running monitors, each followed by CR LF.
QString RunningMonitorCaptions();

// Puts the snapshot that launches are tested against into the field and returns it: the
// console's caption, then the running monitors' captions, each followed by CR LF.
QString TakeWindowSnapshot();

// An item is running when it occurs anywhere in the snapshot, compared with case: a part of a
// caption counts, and an empty item always counts.
bool IsRunning(const QString& snapshot, const QString& item);

}  // namespace tidex
