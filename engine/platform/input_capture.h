#pragma once

// Capture of real input for the mapping rules. GUI thread only: the capture
// is installed from it and its callbacks run on it.
//
// Two streams reach the engine through EngineEvents:
// - OnCapturedInput: a real (never an injected or self-synthesized) key or
//   mouse button of any keyboard or mouse, while the capture is installed.
//   The engine answers at once whether the event is swallowed; the answer is
//   given inside a hook, so it never waits on anything.
// - OnDeviceInput: a key, mouse button or game-device button change of one
//   identified device. Raw input cannot swallow anything.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/event_queue.h"

namespace velmor::platform {

// Codes of OnCapturedInput: a virtual-key code, or kCaptureMouseBase + the
// mouse button (0 left, 1 right, 2 middle, 3 first extra, 4 second extra).
inline constexpr std::uint32_t kCaptureMouseBase = 0x10000000;

// Keyboard capture of the keys the global rules name (virtual-key codes).
// Win32: a WH_KEYBOARD_LL hook while the list is not empty; it sees every
// key and the engine decides. X11: a passive synchronous grab of each key
// with every modifier; a press the engine does not swallow is replayed to
// the window that would have had it. An empty list removes the capture.
void SetKeyboardCapture(const std::vector<std::uint16_t>& vks);
// Mouse-button capture: bit b of `buttons` = button b. Win32: a WH_MOUSE_LL
// hook while any bit is set; X11: passive button grabs with every modifier.
void SetMouseCapture(std::uint32_t buttons);
bool KeyboardCaptureInstalled();
bool MouseCaptureInstalled();

// Whether the foreground window belongs to this process (the GUI or an
// engine window).
bool ForegroundIsOwnProcess();

// Per-device events come from the raw input that RegisterRawMouseInput
// registers (Win32: mice, keyboards, joysticks and game pads with the
// input-sink flag; X11: XI2 raw events of the physical devices, and evdev
// game devices).

// One raw-input device as the device list shows it.
struct InputDeviceInfo {
  std::u16string name;  // the device's interface name, lower-cased
  DeviceKind kind = DeviceKind::Keyboard;
};
// In enumeration order; game devices only when they are joysticks or game
// pads (usage page 1, usage 4 or 5). The engine leaves out what it must.
std::vector<InputDeviceInfo> ListInputDevices();

}  // namespace velmor::platform
