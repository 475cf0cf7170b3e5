#include <windows.h>

#include "engine/platform/keyboard_layout.h"

namespace velmor::platform {

std::optional<std::uint8_t> VkForChar(char16_t ch) {
  SHORT r = VkKeyScanW(static_cast<WCHAR>(ch));
  if (r == -1) return std::nullopt;  // no key of the layout types it
  return static_cast<std::uint8_t>(r & 0xFF);
}

}  // namespace velmor::platform
