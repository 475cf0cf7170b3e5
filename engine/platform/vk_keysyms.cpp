#include "engine/platform/vk_keysyms.h"

#include <array>

namespace velmor::platform {

namespace {

// Keysym values from X11's keysymdef.h and XF86keysym.h.
constexpr std::uint32_t kShiftL = 0xFFE1, kShiftR = 0xFFE2;
constexpr std::uint32_t kControlL = 0xFFE3, kControlR = 0xFFE4;
constexpr std::uint32_t kAltL = 0xFFE9, kAltR = 0xFFEA;

struct Entry {
  std::uint16_t vk;
  std::uint32_t keysym;
};

// Keys with no arithmetic relation between code and keysym.
constexpr Entry kNamed[] = {
    {0x08, 0xFF08},  // BackSpace
    {0x09, 0xFF09},  // Tab
    {0x0C, 0xFF0B},  // Clear
    {0x0D, 0xFF0D},  // Return
    {0x10, kShiftL},
    {0x11, kControlL},
    {0x12, kAltL},
    {0x13, 0xFF13},  // Pause
    {0x14, 0xFFE5},  // Caps_Lock
    {0x1B, 0xFF1B},  // Escape
    {0x20, 0x0020},  // space
    {0x21, 0xFF55},  // Prior (Page Up)
    {0x22, 0xFF56},  // Next (Page Down)
    {0x23, 0xFF57},  // End
    {0x24, 0xFF50},  // Home
    {0x25, 0xFF51},  // Left
    {0x26, 0xFF52},  // Up
    {0x27, 0xFF53},  // Right
    {0x28, 0xFF54},  // Down
    {0x2C, 0xFF61},  // Print
    {0x2D, 0xFF63},  // Insert
    {0x2E, 0xFFFF},  // Delete
    {0x5B, 0xFFEB},  // Super_L
    {0x5C, 0xFFEC},  // Super_R
    {0x5D, 0xFF67},  // Menu
    {0x6A, 0xFFAA},  // KP_Multiply
    {0x6B, 0xFFAB},  // KP_Add
    {0x6C, 0xFFAC},  // KP_Separator
    {0x6D, 0xFFAD},  // KP_Subtract
    {0x6E, 0xFFAE},  // KP_Decimal
    {0x6F, 0xFFAF},  // KP_Divide
    {0x90, 0xFF7F},  // Num_Lock
    {0x91, 0xFF14},  // Scroll_Lock
    {0xA0, kShiftL},
    {0xA1, kShiftR},
    {0xA2, kControlL},
    {0xA3, kControlR},
    {0xA4, kAltL},
    {0xA5, kAltR},
    {0xAD, 0x1008FF12},  // XF86AudioMute
    {0xAE, 0x1008FF11},  // XF86AudioLowerVolume
    {0xAF, 0x1008FF13},  // XF86AudioRaiseVolume
    {0xB0, 0x1008FF17},  // XF86AudioNext
    {0xB1, 0x1008FF16},  // XF86AudioPrev
    {0xB2, 0x1008FF15},  // XF86AudioStop
    {0xB3, 0x1008FF14},  // XF86AudioPlay
    // The OEM keys by their place on the US keyboard.
    {0xBA, 0x003B},  // semicolon
    {0xBB, 0x003D},  // equal
    {0xBC, 0x002C},  // comma
    {0xBD, 0x002D},  // minus
    {0xBE, 0x002E},  // period
    {0xBF, 0x002F},  // slash
    {0xC0, 0x0060},  // grave
    {0xDB, 0x005B},  // bracketleft
    {0xDC, 0x005C},  // backslash
    {0xDD, 0x005D},  // bracketright
    {0xDE, 0x0027},  // apostrophe
};

constexpr std::array<std::uint32_t, 2> kEitherShift{kShiftL, kShiftR};
constexpr std::array<std::uint32_t, 2> kEitherControl{kControlL, kControlR};
constexpr std::array<std::uint32_t, 2> kEitherAlt{kAltL, kAltR};

// One slot per virtual key, filled once, so the down-state query can hand
// out a span that stays valid.
struct Table {
  std::array<std::uint32_t, 256> keysym{};
  constexpr Table() {
    for (std::uint16_t vk = 'A'; vk <= 'Z'; ++vk) keysym[vk] = vk + 0x20u;  // lower-case letters
    for (std::uint16_t vk = '0'; vk <= '9'; ++vk) keysym[vk] = vk;
    for (std::uint16_t n = 0; n < 10; ++n) keysym[0x60 + n] = 0xFFB0u + n;  // KP_0..KP_9
    for (std::uint16_t n = 0; n < 24; ++n) keysym[0x70 + n] = 0xFFBEu + n;  // F1..F24
    for (const Entry& e : kNamed) keysym[e.vk] = e.keysym;
  }
};

constexpr Table kTable;

}  // namespace

std::uint32_t KeysymForVk(std::uint16_t vk) {
  return vk < kTable.keysym.size() ? kTable.keysym[vk] : 0;
}

std::span<const std::uint32_t> KeysymsDownForVk(std::uint16_t vk) {
  switch (vk) {
    case 0x10:
      return kEitherShift;
    case 0x11:
      return kEitherControl;
    case 0x12:
      return kEitherAlt;
    default:
      break;
  }
  if (vk >= kTable.keysym.size() || kTable.keysym[vk] == 0) return {};
  return {&kTable.keysym[vk], 1};
}

}  // namespace velmor::platform
