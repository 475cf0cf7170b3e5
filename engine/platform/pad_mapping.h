#pragma once

// Linux evdev game pads read as XInput reports them: which key code is
// which XINPUT_GAMEPAD_* bit, and how hats and trigger axes become the
// d-pad bits and the 0..255 trigger bytes. Portable: the evdev codes are
// written out (linux/input-event-codes.h), so every build tests the table.

#include <cstdint>
#include <span>

namespace velmor::platform {

// evdev codes the mapping uses.
namespace evdev {
inline constexpr std::uint16_t kBtnSouth = 0x130, kBtnEast = 0x131, kBtnNorth = 0x133,
                               kBtnWest = 0x134, kBtnTl = 0x136, kBtnTr = 0x137, kBtnTl2 = 0x138,
                               kBtnTr2 = 0x139, kBtnSelect = 0x13a, kBtnStart = 0x13b,
                               kBtnMode = 0x13c, kBtnThumbl = 0x13d, kBtnThumbr = 0x13e;
inline constexpr std::uint16_t kBtnDpadUp = 0x220, kBtnDpadDown = 0x221, kBtnDpadLeft = 0x222,
                               kBtnDpadRight = 0x223;
inline constexpr std::uint16_t kAbsZ = 0x02, kAbsRz = 0x05, kAbsHat0X = 0x10, kAbsHat0Y = 0x11;
// The code whose presence makes a device a game pad (BTN_GAMEPAD).
inline constexpr std::uint16_t kBtnGamepad = kBtnSouth;
}  // namespace evdev

struct PadKeyBit {
  std::uint16_t code;
  std::uint16_t bit;
};

// Every key code that maps to a button bit. The Linux gamepad layout names
// buttons by position, so BTN_NORTH is the top button (XInput's Y) and
// BTN_WEST the left one (XInput's X), whatever BTN_X and BTN_Y, their
// aliases, suggest.
std::span<const PadKeyBit> PadKeyBits();

// The XInput bit of a key code; 0 for keys without one.
std::uint16_t PadBitForKey(std::uint16_t code);

// D-pad bits from hat 0 (x: -1 left, +1 right; y: -1 up, +1 down).
std::uint16_t PadBitsForHat(int x, int y);

// A trigger axis value scaled to 0..255 over the axis' range, clamped.
std::uint8_t PadTriggerValue(int value, int minimum, int maximum);

}  // namespace velmor::platform
