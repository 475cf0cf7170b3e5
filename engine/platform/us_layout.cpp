#include "engine/platform/us_layout.h"

namespace velmor::platform {

namespace {

// The punctuation keys of the US layout: unshifted and shifted character,
// Windows virtual-key code, evdev key code of the position.
struct OemKey {
  char16_t plain, shifted;
  std::uint8_t vk;
  unsigned evdev;
};

constexpr OemKey kOemKeys[] = {
    {u'-', u'_', 0xBD, 12}, {u'=', u'+', 0xBB, 13},  {u'[', u'{', 0xDB, 26},
    {u']', u'}', 0xDD, 27}, {u';', u':', 0xBA, 39},  {u'\'', u'"', 0xDE, 40},
    {u'`', u'~', 0xC0, 41}, {u'\\', u'|', 0xDC, 43}, {u',', u'<', 0xBC, 51},
    {u'.', u'>', 0xBE, 52}, {u'/', u'?', 0xBF, 53},
};

// Shifted digits: ")!@#$%^&*(" are on 0..9.
constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";

}  // namespace

std::optional<std::uint8_t> UsLayoutVkForChar(char16_t ch) {
  if (ch >= u'0' && ch <= u'9') return static_cast<std::uint8_t>(ch);
  if (ch >= u'A' && ch <= u'Z') return static_cast<std::uint8_t>(ch);
  if (ch >= u'a' && ch <= u'z') return static_cast<std::uint8_t>(ch - 32);
  for (int d = 0; d < 10; ++d)
    if (kShiftedDigits[d] == ch) return static_cast<std::uint8_t>(u'0' + d);
  for (const auto& k : kOemKeys)
    if (k.plain == ch || k.shifted == ch) return k.vk;
  switch (ch) {
    case u' ':
      return 0x20;
    case u'\t':
      return 0x09;
    case u'\r':
      return 0x0D;
    case u'\n':
      return 0x0D;
    case u'\b':
      return 0x08;
    case 0x1B:
      return 0x1B;
    default:
      return std::nullopt;
  }
}

std::optional<std::uint8_t> UsLayoutVkForEvdevCode(unsigned code) {
  // Letter rows: evdev codes of Q..P, A..L, Z..M.
  static constexpr char kRow1[] = "QWERTYUIOP";  // 16..25
  static constexpr char kRow2[] = "ASDFGHJKL";   // 30..38
  static constexpr char kRow3[] = "ZXCVBNM";     // 44..50
  if (code >= 2 && code <= 10) return static_cast<std::uint8_t>('1' + (code - 2));
  if (code == 11) return static_cast<std::uint8_t>('0');
  if (code >= 16 && code <= 25) return static_cast<std::uint8_t>(kRow1[code - 16]);
  if (code >= 30 && code <= 38) return static_cast<std::uint8_t>(kRow2[code - 30]);
  if (code >= 44 && code <= 50) return static_cast<std::uint8_t>(kRow3[code - 44]);
  for (const auto& k : kOemKeys)
    if (k.evdev == code) return k.vk;
  switch (code) {
    case 1:
      return 0x1B;  // Esc
    case 14:
      return 0x08;  // Backspace
    case 15:
      return 0x09;  // Tab
    case 28:
      return 0x0D;  // Enter
    case 57:
      return 0x20;  // Space
    case 86:
      return 0xE2;  // the extra key beside left Shift on ISO keyboards
    case 96:
      return 0x0D;  // keypad Enter
    case 55:
      return 0x6A;  // keypad *
    case 74:
      return 0x6D;  // keypad -
    case 78:
      return 0x6B;  // keypad +
    case 83:
      return 0x6E;  // keypad .
    case 98:
      return 0x6F;  // keypad /
    default:
      return std::nullopt;
  }
}

}  // namespace velmor::platform
