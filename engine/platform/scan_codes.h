#pragma once

// Set-1 scan codes of the US keyboard by Windows virtual key, the answer
// MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) gives on that layout (extended keys
// without their E0 prefix). Used where no layout service gives one.

#include <cstdint>

namespace velmor::platform {

// 0 for virtual keys without a scan code.
std::uint16_t UsScanCodeForVk(std::uint16_t vk);

}  // namespace velmor::platform
