#include <cstdio>

#include "engine/core/text.h"
#include "engine/platform/fake/fake_platform.h"
#include "engine/platform/fake/fake_state.h"
#include "engine/platform/input.h"
#include "engine/platform/scan_codes.h"

namespace velmor::platform {

namespace {
const char* kButtonNames[] = {"left", "right", "middle", "x1", "x2"};
const int kButtonVks[] = {1, 2, 4, 5, 6};
}  // namespace

void SendKey(std::uint16_t vk, bool extended, bool up) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  char buf[64];
  std::snprintf(buf, sizeof buf, "key %s vk=%02X sc=%02X%s", up ? "up" : "down", vk,
                UsScanCodeForVk(vk), extended ? " ext" : "");
  fake::RecordLocked(s, buf);
  if (vk < 256) s.keys[vk] = !up;
}

void SendMouseButton(int button, bool up) {
  if (button < 0 || button > 4) return;
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  fake::RecordLocked(s, std::string("mouse ") + (up ? "up " : "down ") + kButtonNames[button]);
  s.keys[kButtonVks[button]] = !up;
}

bool IsKeyDown(int vk) {
  if (vk < 0 || vk > 255) return false;
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.keys[vk];
}

void ShellOpen(const std::u16string& target) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  fake::RecordLocked(s, "open " + WideToUtf8(target));
}

void fake::SetKeyDown(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.keys[vk] = down;
}

}  // namespace velmor::platform
