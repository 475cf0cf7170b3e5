#include "engine/platform/pad_mapping.h"

#include <algorithm>

namespace velmor::platform {

namespace {

// XINPUT_GAMEPAD_* values.
constexpr std::uint16_t kDpadUp = 0x0001, kDpadDown = 0x0002, kDpadLeft = 0x0004,
                        kDpadRight = 0x0008, kStart = 0x0010, kBack = 0x0020, kLeftThumb = 0x0040,
                        kRightThumb = 0x0080, kLeftShoulder = 0x0100, kRightShoulder = 0x0200,
                        kGuide = 0x0400, kA = 0x1000, kB = 0x2000, kX = 0x4000, kY = 0x8000;

constexpr PadKeyBit kTable[] = {
    {evdev::kBtnSouth, kA},
    {evdev::kBtnEast, kB},
    {evdev::kBtnWest, kX},
    {evdev::kBtnNorth, kY},
    {evdev::kBtnTl, kLeftShoulder},
    {evdev::kBtnTr, kRightShoulder},
    {evdev::kBtnSelect, kBack},
    {evdev::kBtnStart, kStart},
    {evdev::kBtnThumbl, kLeftThumb},
    {evdev::kBtnThumbr, kRightThumb},
    {evdev::kBtnMode, kGuide},
    {evdev::kBtnDpadUp, kDpadUp},
    {evdev::kBtnDpadDown, kDpadDown},
    {evdev::kBtnDpadLeft, kDpadLeft},
    {evdev::kBtnDpadRight, kDpadRight},
};

}  // namespace

std::span<const PadKeyBit> PadKeyBits() {
  return kTable;
}

std::uint16_t PadBitForKey(std::uint16_t code) {
  for (const PadKeyBit& e : kTable)
    if (e.code == code) return e.bit;
  return 0;
}

std::uint16_t PadBitsForHat(int x, int y) {
  std::uint16_t bits = 0;
  if (x < 0) bits |= kDpadLeft;
  if (x > 0) bits |= kDpadRight;
  if (y < 0) bits |= kDpadUp;
  if (y > 0) bits |= kDpadDown;
  return bits;
}

std::uint8_t PadTriggerValue(int value, int minimum, int maximum) {
  if (maximum <= minimum) return 0;
  long long v = std::clamp(value, minimum, maximum) - static_cast<long long>(minimum);
  long long range = static_cast<long long>(maximum) - minimum;
  return static_cast<std::uint8_t>((v * 255 + range / 2) / range);
}

}  // namespace velmor::platform
