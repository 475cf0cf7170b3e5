#pragma once

// Game devices for the per-device stream: the evdev joysticks and game pads,
// watched by the engine's event queue while the raw input is registered,
// their button changes reported as Pad device events. The parts that need no
// device (numbering, device text, the button tracker) are here for tests.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/platform/event_queue.h"
#include "engine/platform/input_capture.h"

namespace velmor::platform::linux_backend {

inline constexpr unsigned kMaxPadButtons = 64;

// A device's buttons numbered 1..64 the way the kernel's joystick interface
// (joydev) numbers them, which follows the HID button usages: the codes
// from BTN_JOYSTICK upwards first, then those from BTN_MISC to below
// BTN_JOYSTICK, each block in code order. Codes below BTN_MISC (keyboard
// keys) are no buttons. In ordinal order.
struct PadButton {
  std::uint16_t code;
  unsigned ordinal;
};
std::vector<PadButton> PadButtonOrdinals(const std::vector<std::uint16_t>& keyCodes);

// "usb#vid_045e&pid_028e#<name, lower-cased>"; only the name without ids.
std::u16string PadDeviceText(unsigned vendor, unsigned product, const std::string& name);

// Turns a device's event stream into button changes, one report
// (SYN_REPORT) at a time: a press and release inside one read both count.
// After SYN_DROPPED the events up to the next report are lost; the kernel's
// key state read then (Resync) gives the changes.
class PadButtonTracker {
 public:
  explicit PadButtonTracker(std::vector<PadButton> buttons);
  using Change = std::function<void(unsigned ordinal, bool down)>;
  void Feed(unsigned type, unsigned code, int value, const Change& change);
  // `down(code)`: whether the key is down now.
  void Resync(const std::function<bool(std::uint16_t code)>& down, const Change& change);
  bool dropped() const { return dropped_; }

 private:
  void Report(const Change& change);
  std::vector<PadButton> buttons_;
  std::uint64_t reported_ = 0, pending_ = 0;
  bool dropped_ = false;
};

// GUI thread. Opens the game devices and watches them (and /dev/input for
// new ones) while on.
void SetPadDeviceEvents(bool on);
// Reads what the watched devices have and reports their changes.
void CollectPadDeviceEvents(const std::function<void(const DeviceInput&)>& report);
// The joysticks and game pads present now, in the kernel's numbering order.
std::vector<InputDeviceInfo> ListPadDevices();

}  // namespace velmor::platform::linux_backend
