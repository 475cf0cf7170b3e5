#pragma once

// The Win32 side of the input capture that the rest of the backend and its
// tests reach: the hook procedures, the wheel window's raw input packets, and
// the button arithmetic of game devices. GUI thread only.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/platform/event_queue.h"

namespace velmor::platform::win32 {

// The procedures SetKeyboardCapture and SetMouseCapture install, so that
// tests can hand them events only real hardware makes (non-injected ones).
// They report to EngineSink().
HOOKPROC CaptureKeyboardHookProc();
HOOKPROC CaptureMouseHookProc();

// One WM_INPUT of the wheel window: reads the packet and reports it as
// ReportRawInput does, with the mouse's buttons going to the device rules
// only while the wheel is hidden. A packet that cannot be read is dropped.
void ReadRawInput(HRAWINPUT handle);

// Reports one raw input packet of `bytes` bytes to `sink`: keys and game
// device buttons as OnDeviceInput; a mouse's button transitions as
// OnDeviceInput unless `wheelShown`, then its relative motion and left press
// as OnRawMouse.
void ReportRawInput(const RAWINPUT& input, std::size_t bytes, bool wheelShown, EngineEvents& sink);

// The interface name of a raw input device, lower-cased and without the
// trailing NULs; "" for the null handle (input with no device, such as
// injected input). None when the system does not know the handle. Not cached.
std::optional<std::u16string> QueryDeviceName(HANDLE device);

// Forgets the device names and game device states learnt from raw input.
void ClearRawInputCaches();

// The button bits of a HID report's pressed usages: usage u (1..64) sets
// bit u - 1; other usages are ignored.
std::uint64_t ButtonBits(const std::uint16_t* usages, std::size_t count);

// Reports every button whose bit differs between `last` and `bits`, button
// 1 first, as a Pad event of `device`; then `last` becomes `bits`.
void ReportButtonChanges(std::uint64_t& last, std::uint64_t bits, const std::u16string& device,
                         EngineEvents& sink);

}  // namespace velmor::platform::win32
