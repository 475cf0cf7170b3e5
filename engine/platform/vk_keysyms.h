#pragma once

// Windows virtual-key codes as X keysyms, for backends that synthesize input
// by key symbol. Portable: the keysym values are written out, so the table
// is tested without X headers.

#include <cstdint>
#include <span>

namespace velmor::platform {

// The keysym a virtual key sends; 0 when the table has no key for it. On a
// US map a keysym names exactly one key, so the extended flag that tells
// Windows' shared scan codes apart has no part here.
std::uint32_t KeysymForVk(std::uint16_t vk);

// Every keysym whose key being down means `vk` is down: the generic Shift,
// Ctrl and Alt are down while either side is, as Windows reports them.
// Empty for a virtual key the table does not know.
std::span<const std::uint32_t> KeysymsDownForVk(std::uint16_t vk);

}  // namespace velmor::platform
