// Which key types a character, asked of the running X display's keyboard
// map. The key found is given the virtual-key code of the same position on a
// US keyboard, which is the nearest X11 has to a Windows virtual key. With no
// display the fixed US layout answers.

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <xkbcommon/xkbcommon.h>

#include "engine/platform/keyboard_layout.h"
#include "engine/platform/linux/x11_connection.h"
#include "engine/platform/us_layout.h"

namespace velmor::platform {

namespace {

// Searches the current group of the core keyboard, lowest shift level first,
// for a key that types `ch` at a position the virtual-key table knows. Keys
// beyond the main block (a keypad parenthesis, say) are passed over so the
// usual key wins.
std::optional<std::uint8_t> VkFromKeyboardMap(Display* dpy, char16_t ch) {
  XkbDescPtr xkb = XkbGetMap(dpy, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
  if (!xkb) return std::nullopt;
  XkbStateRec state{};
  XkbGetState(dpy, XkbUseCoreKbd, &state);
  std::optional<std::uint8_t> found;
  for (int level = 0; level < 4 && !found; ++level) {
    for (int kc = xkb->min_key_code; kc <= xkb->max_key_code && !found; ++kc) {
      int groups = XkbKeyNumGroups(xkb, kc);
      if (groups == 0 || kc < 8) continue;
      int group = state.group < groups ? state.group : 0;
      if (level >= XkbKeyGroupWidth(xkb, kc, group)) continue;
      KeySym sym = XkbKeySymEntry(xkb, kc, level, group);
      if (sym != NoSymbol && xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(sym)) == ch)
        found = UsLayoutVkForEvdevCode(static_cast<unsigned>(kc - 8));
    }
  }
  XkbFreeKeyboard(xkb, 0, True);
  return found;
}

}  // namespace

std::optional<std::uint8_t> VkForChar(char16_t ch) {
  linux_backend::X11Session x;
  if (!x) return UsLayoutVkForChar(ch);
  return VkFromKeyboardMap(x.display(), ch);
}

}  // namespace velmor::platform
