#pragma once

// The US keyboard layout's answer to "which key types this character", used
// where the platform has no layout service (no display on Linux, the fake
// backend) and as the position table the X11 backend maps key codes through.

#include <cstdint>
#include <optional>

namespace velmor::platform {

std::optional<std::uint8_t> UsLayoutVkForChar(char16_t ch);

// Windows virtual-key code of the key at a PC keyboard position, given as a
// Linux evdev key code (X11 key code minus 8). Empty for positions the
// layout table does not cover.
std::optional<std::uint8_t> UsLayoutVkForEvdevCode(unsigned code);

}  // namespace velmor::platform
