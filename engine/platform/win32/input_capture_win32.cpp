// Input capture for the mapping rules: low-level hooks that see every key
// and mouse button, and the raw-input device list.

#include "engine/platform/input_capture.h"

namespace velmor::platform {

void SetKeyboardCapture(const std::vector<std::uint16_t>&) {}
void SetMouseCapture(std::uint32_t) {}
bool KeyboardCaptureInstalled() {
  return false;
}
bool MouseCaptureInstalled() {
  return false;
}
bool ForegroundIsOwnProcess() {
  return false;
}
std::vector<InputDeviceInfo> ListInputDevices() {
  return {};
}

}  // namespace velmor::platform
