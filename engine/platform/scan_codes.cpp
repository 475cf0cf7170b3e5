#include "engine/platform/scan_codes.h"

namespace velmor::platform {

std::uint16_t UsScanCodeForVk(std::uint16_t vk) {
  // Letters in keyboard order and their scan codes.
  static constexpr char kLetters[] = "QWERTYUIOPASDFGHJKLZXCVBNM";
  static constexpr std::uint8_t kLetterScans[] = {
      0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1E, 0x1F, 0x20,
      0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32};
  for (int i = 0; i < 26; ++i)
    if (vk == static_cast<std::uint16_t>(kLetters[i])) return kLetterScans[i];
  if (vk >= '1' && vk <= '9') return static_cast<std::uint16_t>(0x02 + (vk - '1'));
  if (vk == '0') return 0x0B;
  if (vk >= 0x70 && vk <= 0x79) return static_cast<std::uint16_t>(0x3B + (vk - 0x70));  // F1-F10
  if (vk == 0x7A) return 0x57;                                                          // F11
  if (vk == 0x7B) return 0x58;                                                          // F12
  if (vk >= 0x7C && vk <= 0x87) return static_cast<std::uint16_t>(0x64 + (vk - 0x7C));  // F13-F24
  if (vk >= 0x60 && vk <= 0x69) {  // numpad 0-9
    static constexpr std::uint8_t kPad[] = {0x52, 0x4F, 0x50, 0x51, 0x4B,
                                            0x4C, 0x4D, 0x47, 0x48, 0x49};
    return kPad[vk - 0x60];
  }
  switch (vk) {
    case 0x08:
      return 0x0E;  // backspace
    case 0x09:
      return 0x0F;  // tab
    case 0x0D:
      return 0x1C;  // enter
    case 0x10:
      return 0x2A;  // shift
    case 0x11:
      return 0x1D;  // ctrl
    case 0x12:
      return 0x38;  // alt
    case 0x13:
      return 0x45;  // pause
    case 0x14:
      return 0x3A;  // caps lock
    case 0x1B:
      return 0x01;  // esc
    case 0x20:
      return 0x39;  // space
    case 0x21:
      return 0x49;  // page up
    case 0x22:
      return 0x51;  // page down
    case 0x23:
      return 0x4F;  // end
    case 0x24:
      return 0x47;  // home
    case 0x25:
      return 0x4B;  // left
    case 0x26:
      return 0x48;  // up
    case 0x27:
      return 0x4D;  // right
    case 0x28:
      return 0x50;  // down
    case 0x2C:
      return 0x54;  // print screen
    case 0x2D:
      return 0x52;  // insert
    case 0x2E:
      return 0x53;  // delete
    case 0x5B:
      return 0x5B;  // left win
    case 0x5C:
      return 0x5C;  // right win
    case 0x5D:
      return 0x5D;  // menu
    case 0x6A:
      return 0x37;  // numpad *
    case 0x6B:
      return 0x4E;  // numpad +
    case 0x6D:
      return 0x4A;  // numpad -
    case 0x6E:
      return 0x53;  // numpad .
    case 0x6F:
      return 0x35;  // numpad /
    case 0x90:
      return 0x45;  // num lock
    case 0x91:
      return 0x46;  // scroll lock
    case 0xA0:
      return 0x2A;
    case 0xA1:
      return 0x36;
    case 0xA2:
      return 0x1D;
    case 0xA3:
      return 0x1D;
    case 0xA4:
      return 0x38;
    case 0xA5:
      return 0x38;
    case 0xAD:
      return 0x20;  // volume mute
    case 0xAE:
      return 0x2E;  // volume down
    case 0xAF:
      return 0x30;  // volume up
    case 0xB0:
      return 0x19;  // next track
    case 0xB1:
      return 0x10;  // previous track
    case 0xB3:
      return 0x22;  // play/pause
    case 0xBA:
      return 0x27;
    case 0xBB:
      return 0x0D;
    case 0xBC:
      return 0x33;
    case 0xBD:
      return 0x0C;
    case 0xBE:
      return 0x34;
    case 0xBF:
      return 0x35;
    case 0xC0:
      return 0x29;
    case 0xDB:
      return 0x1A;
    case 0xDC:
      return 0x2B;
    case 0xDD:
      return 0x1B;
    case 0xDE:
      return 0x28;
    case 0xE2:
      return 0x56;
    default:
      return 0;
  }
}

}  // namespace velmor::platform
