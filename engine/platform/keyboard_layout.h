#pragma once

// The keyboard-layout question the key-name resolver asks: which key types
// this character on the current layout. Each backend answers it its own way
// (Win32: VkKeyScanW; X11: the display's XKB map; fake: a fixed US layout).

#include <cstdint>
#include <optional>

namespace velmor::platform {

// Virtual-key code (the low byte of VkKeyScanW's answer) of the key that
// types `ch`; empty when no key of the layout types it.
std::optional<std::uint8_t> VkForChar(char16_t ch);

}  // namespace velmor::platform
