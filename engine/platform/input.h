#pragma once

// Input synthesis and the input state the engine reads. Callable from any
// thread.

#include <cstdint>
#include <string>

namespace velmor::platform {

// One keyboard event for a Windows virtual key. The backend derives the
// scan code (Win32: MapVirtualKeyW) and sends by scan code, with the
// extended flag when asked.
void SendKey(std::uint16_t vk, bool extended, bool up);

// One mouse button event with no motion: 0 left, 1 right, 2 middle, 3 X1, 4 X2.
void SendMouseButton(int button, bool up);

// The asynchronous (physical or synthesized) down state of a virtual key,
// mouse buttons included (1 left, 2 right, 4 middle, 5 X1, 6 X2).
bool IsKeyDown(int vk);

// Opens a URL, document or program with the shell's "open" verb. Results
// are not reported.
void ShellOpen(const std::u16string& target);

}  // namespace velmor::platform
