#pragma once

#include <QString>

namespace tidex {

class TextBox;

// The captions of all open windows, hidden ones included, in creation order (the console first),
// each followed by CR LF.
QString OpenWindowCaptions();

// Puts the captions of all open windows, hidden ones included, in creation order (the console
// first), each followed by CR LF, into the field; returns that text.
QString TakeWindowSnapshot(TextBox& field);

// An item is running when it occurs anywhere in the snapshot, compared with case: a part of a
// caption counts, and an empty item always counts.
bool IsRunning(const QString& snapshot, const QString& item);

}  // namespace tidex
