#include <mutex>

#include "engine/platform/fake/fake_platform.h"
#include "engine/platform/keyboard_layout.h"
#include "engine/platform/us_layout.h"

namespace velmor::platform {

namespace {
std::mutex g_layoutMutex;
fake::LayoutFn g_layout;
}  // namespace

void fake::SetKeyboardLayout(LayoutFn layout) {
  std::lock_guard lock(g_layoutMutex);
  g_layout = std::move(layout);
}

std::optional<std::uint8_t> VkForChar(char16_t ch) {
  fake::LayoutFn layout;
  {
    std::lock_guard lock(g_layoutMutex);
    layout = g_layout;
  }
  return layout ? layout(ch) : UsLayoutVkForChar(ch);
}

}  // namespace velmor::platform
