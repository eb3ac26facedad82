#pragma once

namespace tidex {

class Form1;

// The running console: the program's first window, whose controls the other windows read and
// write as shared state.
Form1& Console();

}  // namespace tidex
