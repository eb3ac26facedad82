#pragma once

#include <cstdint>

namespace tidex {

// Indexes of the desktop's system colours that the windows use.
enum class SystemColour : int { WindowText = 8, ButtonText = 18 };

// A colour as the windows give it: either an RGB value (red in the low byte, 255 is red)
// or one of the desktop's system colours.
struct Colour {
  std::uint32_t rgb = 0;
  bool isSystem = false;
  SystemColour system_ = SystemColour::WindowText;

  static Colour fromRgbValue(std::uint32_t value) { return Colour{value, false, {}}; }
  static Colour system(SystemColour c) { return Colour{0, true, c}; }
  int red() const { return rgb & 0xFF; }
  int green() const { return (rgb >> 8) & 0xFF; }
  int blue() const { return (rgb >> 16) & 0xFF; }
  bool operator==(const Colour&) const = default;
};

}  // namespace tidex
