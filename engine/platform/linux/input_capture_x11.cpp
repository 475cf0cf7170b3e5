// Input capture for the mapping rules on X11: passive synchronous grabs of
// the keys and buttons the rules name, XI2 raw events for the per-device
// stream, and the device list.
//
// A grabbed press freezes its device until the engine has answered. The
// answer is given on the GUI thread right after the sink returns:
// - swallowed: the grab is let go at once (UngrabKeyboard / UngrabPointer
//   end the grab and thaw the device without replaying the press), so that
//   other keys, the engine's own output and the pointer reach their windows
//   while the key is held; only the press is kept from them;
// - passed: ReplayKeyboard / ReplayPointer hand the press to the window that
//   would have had it without the grab; a replayed button press starts that
//   client's own implicit grab, so it also gets the release.
// Either way no grab of ours outlives the press, so the release goes to the
// focused window (or the client holding the pointer). The engine still
// hears of it: the raw release of a key or button pressed through the grab
// is reported as a captured release, which cannot be swallowed any more.
//
// What X cannot tell apart: a passive grab sees every press of the key, from
// a physical device or from XTest (core events carry no source device), so
// XTest input of other programs is captured like a keyboard's. The engine's
// own input is kept out by FakeOwnKey / FakeOwnButton below.

#include "engine/platform/linux/input_capture_x11.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/platform/desktop.h"
#include "engine/platform/input_capture.h"
#include "engine/platform/linux/pad_devices_evdev.h"
#include "engine/platform/linux/x11_connection.h"
#include "engine/platform/linux/x11_properties.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"
#include "engine/platform/us_layout.h"
#include "engine/platform/vk_keysyms.h"

namespace velmor::platform {

namespace {

using linux_backend::OverlayAction;
using linux_backend::X11ErrorTrap;
using linux_backend::X11Session;
using linux_backend::XPtr;

// Capture button b is X button kXButtons[b]: left, right, middle, back, forward.
constexpr unsigned kXButtons[] = {1, 3, 2, 8, 9};
constexpr int kCaptureButtons = 5;

// An own press of a grabbed key or button held back by the server. `ahead`:
// grabbed presses that had been sent to us, not yet read, when it was made;
// they activated the grab before it and are not the engine's.
struct OwnPress {
  unsigned code;
  int ahead;
};

// Whether a grab activation of `code` is the engine's own held-back press;
// takes it from the list when it is.
bool TakeOwnPress(std::deque<OwnPress>& presses, unsigned code) {
  for (auto it = presses.begin(); it != presses.end(); ++it) {
    if (it->ahead == 0 && it->code == code) {
      presses.erase(it);
      return true;
    }
  }
  for (OwnPress& p : presses)
    if (p.ahead > 0) --p.ahead;
  return false;
}

struct KeyGrab {
  std::uint16_t vk;  // what the key is reported as
  bool oneByOne;     // grabbed one modifier combination at a time
};

struct CaptureState {
  // Grabbed key codes.
  std::map<KeyCode, KeyGrab> keys;
  // Capture buttons (bit b = button b) that hold a grab, and those of them
  // grabbed one modifier combination at a time.
  std::uint32_t buttons = 0;
  std::uint32_t buttonsOneByOne = 0;
  // A grabbed press has been taken and waits for the engine's answer.
  bool keyboardFrozen = false;
  bool pointerFrozen = false;
  // Own presses the server holds back behind a frozen device: each will
  // activate the grab once the device thaws and is then passed unasked.
  std::deque<OwnPress> ownKeyPresses;
  std::deque<OwnPress> ownButtonPresses;
  // Pressed through a grab and not yet released (key code or X button ->
  // capture code); their raw release is the captured release.
  std::map<KeyCode, std::uint32_t> heldKeys;
  std::map<unsigned, std::uint32_t> heldButtons;
  // Own releases of held keys and buttons whose raw events are still to
  // come: those are not the user letting go.
  std::map<KeyCode, int> ownKeyReleases;
  std::map<unsigned, int> ownButtonReleases;
  // The per-device stream, and whether the raw events are selected.
  bool deviceEvents = false;
  bool rawSelected = false;
  // XI2 device id -> device text, until the device hierarchy changes.
  std::map<int, std::u16string> deviceTexts;
};

CaptureState& State() {
  static CaptureState s;
  return s;
}

int CaptureButtonOf(unsigned xButton) {
  for (int b = 0; b < kCaptureButtons; ++b)
    if (kXButtons[b] == xButton) return b;
  return -1;
}

bool ButtonGrabbed(const CaptureState& s, unsigned xButton) {
  int b = CaptureButtonOf(xButton);
  return b >= 0 && (s.buttons >> b) & 1;
}

// ---- grabs ----

// Every modifier combination: in one request, or one request each where
// another program holds some combination of the key (a desktop shortcut),
// which makes the one request fail as a whole.
void GrabKey(Display* dpy, KeyCode code, bool oneByOne) {
  // Keyboard frozen on activation, the pointer left alone.
  const Window root = DefaultRootWindow(dpy);
  if (!oneByOne) {
    XGrabKey(dpy, code, AnyModifier, root, False, GrabModeAsync, GrabModeSync);
    return;
  }
  for (unsigned mods = 0; mods < 0x100; ++mods)
    XGrabKey(dpy, code, mods, root, False, GrabModeAsync, GrabModeSync);
}

void GrabButton(Display* dpy, unsigned xButton, bool oneByOne) {
  const Window root = DefaultRootWindow(dpy);
  constexpr unsigned kMask = ButtonPressMask | ButtonReleaseMask;
  if (!oneByOne) {
    XGrabButton(dpy, xButton, AnyModifier, root, False, kMask, GrabModeSync, GrabModeAsync, None,
                None);
    return;
  }
  for (unsigned mods = 0; mods < 0x100; ++mods)
    XGrabButton(dpy, xButton, mods, root, False, kMask, GrabModeSync, GrabModeAsync, None, None);
}

// Grabs a key newly captured; true when it had to be one by one. The
// combinations others hold stay theirs.
bool GrabKeyFirstTime(Display* dpy, KeyCode code) {
  {
    X11ErrorTrap trap(dpy);
    GrabKey(dpy, code, false);
    if (!trap.failed()) return false;
  }
  X11ErrorTrap trap(dpy);
  GrabKey(dpy, code, true);
  trap.failed();
  return true;
}

bool GrabButtonFirstTime(Display* dpy, unsigned xButton) {
  {
    X11ErrorTrap trap(dpy);
    GrabButton(dpy, xButton, false);
    if (!trap.failed()) return false;
  }
  X11ErrorTrap trap(dpy);
  GrabButton(dpy, xButton, true);
  trap.failed();
  return true;
}

// ---- raw events ----

void UpdateRawSelection(Display* dpy, CaptureState& s) {
  const bool want = s.deviceEvents || !s.keys.empty() || s.buttons != 0;
  if (want == s.rawSelected) return;
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  if (want) {
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XISetMask(bits, XI_HierarchyChanged);
  }
  // All devices rather than the masters: the overlay selects on the masters
  // for itself, and a selection per device id keeps the two apart. Each
  // event then comes twice, from the slave and from its master; the
  // capture takes the slave's copy.
  XIEventMask mask{XIAllDevices, static_cast<int>(sizeof bits), bits};
  X11ErrorTrap trap(dpy);
  XISelectEvents(dpy, DefaultRootWindow(dpy), &mask, 1);
  if (!trap.failed()) s.rawSelected = want;
  s.deviceTexts.clear();
}

std::u16string LowerAscii(const std::string& utf8) {
  // Device names are UTF-8; anything beyond ASCII is decoded and kept.
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    char32_t cp = c;
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    if (extra > 0) cp = c & (0x3F >> extra);
    ++i;
    for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    if (cp < 0x80) cp = static_cast<char32_t>(std::tolower(static_cast<int>(cp)));
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

bool IsXTestDevice(const std::string& name) {
  auto endsWith = [&](const char* tail) {
    std::size_t n = std::strlen(tail);
    return name.size() >= n && name.compare(name.size() - n, n, tail) == 0;
  };
  return endsWith(" XTEST keyboard") || endsWith(" XTEST pointer");
}

// The vendor and product ids the evdev driver publishes for its devices.
std::optional<std::pair<unsigned, unsigned>> ProductIds(Display* dpy, int device) {
  Atom prop = XInternAtom(dpy, "Device Product ID", True);
  if (prop == None) return std::nullopt;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  X11ErrorTrap trap(dpy);
  int r = XIGetProperty(dpy, device, prop, 0, 2, False, AnyPropertyType, &type, &format, &items,
                        &after, &data);
  XPtr<unsigned char> owned(data);
  if (trap.failed() || r != Success || format != 32 || items < 2 || !data) return std::nullopt;
  // XI2 hands out 32-bit items as 32 bits, unlike window properties.
  std::uint32_t ids[2];
  std::memcpy(ids, data, sizeof ids);
  if (ids[0] == 0 && ids[1] == 0) return std::nullopt;
  return std::make_pair(ids[0] & 0xFFFFu, ids[1] & 0xFFFFu);
}

// "usb#vid_046d&pid_c077#<name>" where the ids are known, else the name;
// lower-cased either way. XTest's devices are injected input: "".
std::u16string DeviceText(Display* dpy, int device, const std::string& name) {
  if (IsXTestDevice(name)) return u"";
  std::u16string lowered = LowerAscii(name);
  if (auto ids = ProductIds(dpy, device)) {
    char head[40];
    std::snprintf(head, sizeof head, "usb#vid_%04x&pid_%04x#", ids->first, ids->second);
    std::u16string text(head, head + std::strlen(head));
    return text + lowered;
  }
  return lowered;
}

const std::u16string& DeviceTextOf(Display* dpy, CaptureState& s, int device) {
  auto it = s.deviceTexts.find(device);
  if (it != s.deviceTexts.end()) return it->second;
  std::string name;
  bool found = false;
  {
    // The device may be gone by now.
    X11ErrorTrap trap(dpy);
    int n = 0;
    if (XIDeviceInfo* info = XIQueryDevice(dpy, device, &n)) {
      if (n > 0 && info[0].name) {
        name = info[0].name;
        found = true;
      }
      XIFreeDeviceInfo(info);
    }
    trap.failed();
  }
  return s.deviceTexts[device] = found ? DeviceText(dpy, device, name) : std::u16string();
}

// The virtual key of a key code: by position where the US table knows it,
// else by the key's unshifted keysym.
std::optional<std::uint16_t> VkOfKeycode(Display* dpy, KeyCode code) {
  if (code >= 8)
    if (auto vk = UsLayoutVkForEvdevCode(static_cast<unsigned>(code - 8))) return *vk;
  KeySym sym = XkbKeycodeToKeysym(dpy, code, 0, 0);
  if (sym == NoSymbol) return std::nullopt;
  // Generic codes first: raw keyboard input reports Shift, not left Shift.
  for (std::uint16_t vk = 1; vk < 0xFF; ++vk)
    if (KeysymForVk(vk) == sym) return vk;
  return std::nullopt;
}

void CollectRaw(Display* dpy, CaptureState& s, const XIRawEvent& raw,
                std::vector<OverlayAction>& out) {
  const bool key = raw.evtype == XI_RawKeyPress || raw.evtype == XI_RawKeyRelease;
  const bool down = raw.evtype == XI_RawKeyPress || raw.evtype == XI_RawButtonPress;
  if (key) {
    const auto code = static_cast<KeyCode>(raw.detail);
    if (!down) {
      auto own = s.ownKeyReleases.find(code);
      if (own != s.ownKeyReleases.end()) {
        if (--own->second == 0) s.ownKeyReleases.erase(own);
      } else if (auto held = s.heldKeys.find(code); held != s.heldKeys.end()) {
        out.push_back({OverlayAction::Kind::kCaptured, held->second, 0, 0, false, {}, {}});
        s.heldKeys.erase(held);
      }
    }
    if (!s.deviceEvents) return;
    auto vk = VkOfKeycode(dpy, code);
    if (!vk) return;
    DeviceInput in{DeviceTextOf(dpy, s, raw.sourceid), DeviceKind::Keyboard, *vk, down};
    out.push_back({OverlayAction::Kind::kDevice, 0, 0, 0, false, {}, std::move(in)});
    return;
  }
  const auto xButton = static_cast<unsigned>(raw.detail);
  if (!down) {
    auto own = s.ownButtonReleases.find(xButton);
    if (own != s.ownButtonReleases.end()) {
      if (--own->second == 0) s.ownButtonReleases.erase(own);
    } else if (auto held = s.heldButtons.find(xButton); held != s.heldButtons.end()) {
      out.push_back({OverlayAction::Kind::kCaptured, held->second, 0, 0, false, {}, {}});
      s.heldButtons.erase(held);
    }
  }
  // Scroll buttons 4 to 7 are no buttons here.
  int b = CaptureButtonOf(xButton);
  if (!s.deviceEvents || b < 0) return;
  DeviceInput in{DeviceTextOf(dpy, s, raw.sourceid), DeviceKind::Mouse,
                 static_cast<std::uint32_t>(b), down};
  out.push_back({OverlayAction::Kind::kDevice, 0, 0, 0, false, {}, std::move(in)});
}

// Grabbed presses sent to us and not yet taken out of the connection's
// queue: the first of them holds its device frozen.
int FrozenPressesQueued(Display* dpy, int type) {
  struct Search {
    int type;
    int found;
  } search{type, 0};
  XEvent ev;
  // The predicate only looks; it never takes an event.
  XCheckIfEvent(
      dpy, &ev,
      [](Display* d, XEvent* e, XPointer arg) -> Bool {
        auto* sr = reinterpret_cast<Search*>(arg);
        const CaptureState& st = State();
        if (e->type == sr->type && sr->type == KeyPress && e->xkey.window == DefaultRootWindow(d) &&
            st.keys.count(static_cast<KeyCode>(e->xkey.keycode)))
          ++sr->found;
        if (e->type == sr->type && sr->type == ButtonPress &&
            e->xbutton.window == DefaultRootWindow(d) && ButtonGrabbed(st, e->xbutton.button))
          ++sr->found;
        return False;
      },
      reinterpret_cast<XPointer>(&search));
  return search.found;
}

}  // namespace

namespace linux_backend {

bool CollectCaptureEvent(Display* dpy, const XEvent& ev, std::vector<OverlayAction>& out) {
  CaptureState& s = State();
  const Window root = DefaultRootWindow(dpy);
  switch (ev.type) {
    case KeyPress:
    case KeyRelease: {
      const auto code = static_cast<KeyCode>(ev.xkey.keycode);
      auto it = s.keys.find(code);
      if (ev.xkey.window != root || ev.xkey.send_event) return false;
      if (it == s.keys.end()) {
        // A press of a key whose grab has just been removed may still hold
        // the keyboard frozen; replaying does nothing when it does not
        // (the overlay's own grabs never freeze).
        if (ev.type == KeyPress) XAllowEvents(dpy, ReplayKeyboard, CurrentTime);
        return false;
      }
      if (ev.type == KeyRelease) {
        // Only when a grab of ours was still active; normally the release
        // comes as a raw event.
        if (s.heldKeys.erase(code))
          out.push_back({OverlayAction::Kind::kCaptured, it->second.vk, 0, 0, false, {}, {}});
        return true;
      }
      if (TakeOwnPress(s.ownKeyPresses, code)) {
        XAllowEvents(dpy, ReplayKeyboard, CurrentTime);
        XFlush(dpy);
        return true;
      }
      s.keyboardFrozen = true;
      s.heldKeys[code] = it->second.vk;
      out.push_back({OverlayAction::Kind::kCaptured,
                     it->second.vk,
                     0,
                     0,
                     true,
                     OverlayAction::Frozen::kKeyboard,
                     {}});
      return true;
    }
    case ButtonPress:
    case ButtonRelease: {
      const unsigned xButton = ev.xbutton.button;
      if (ev.xbutton.window != root || ev.xbutton.send_event) return false;
      if (!ButtonGrabbed(s, xButton)) {
        if (ev.type == ButtonPress) XAllowEvents(dpy, ReplayPointer, CurrentTime);
        return false;
      }
      const std::uint32_t code =
          kCaptureMouseBase + static_cast<unsigned>(CaptureButtonOf(xButton));
      if (ev.type == ButtonRelease) {
        if (s.heldButtons.erase(xButton))
          out.push_back({OverlayAction::Kind::kCaptured, code, 0, 0, false, {}, {}});
        return true;
      }
      if (TakeOwnPress(s.ownButtonPresses, xButton)) {
        XAllowEvents(dpy, ReplayPointer, CurrentTime);
        XFlush(dpy);
        return true;
      }
      s.pointerFrozen = true;
      s.heldButtons[xButton] = code;
      out.push_back(
          {OverlayAction::Kind::kCaptured, code, 0, 0, true, OverlayAction::Frozen::kPointer, {}});
      return true;
    }
    default:
      return false;
  }
}

bool CollectCaptureRaw(Display* dpy, const XGenericEventCookie& cookie,
                       std::vector<OverlayAction>& out) {
  CaptureState& s = State();
  const int type = cookie.evtype;
  if (type == XI_HierarchyChanged) {
    // Devices came or went; an id may now name another device.
    s.deviceTexts.clear();
    return true;
  }
  if (type != XI_RawKeyPress && type != XI_RawKeyRelease && type != XI_RawButtonPress &&
      type != XI_RawButtonRelease)
    return false;
  const auto* e = static_cast<const XIRawEvent*>(cookie.data);
  // The master's copy is the overlay's (raw clicks for the wheel).
  if (e->deviceid != e->sourceid) return false;
  if (s.rawSelected) CollectRaw(dpy, s, *e, out);
  return true;
}

void AnswerCapturedInput(const OverlayAction& action, bool swallow) {
  X11Session x;
  if (!x) return;
  Display* dpy = x.display();
  CaptureState& s = State();
  if (action.frozen == OverlayAction::Frozen::kKeyboard) {
    s.keyboardFrozen = false;
    if (swallow)
      XUngrabKeyboard(dpy, CurrentTime);
    else
      XAllowEvents(dpy, ReplayKeyboard, CurrentTime);
  } else if (action.frozen == OverlayAction::Frozen::kPointer) {
    s.pointerFrozen = false;
    // The engine may have shown the wheel (or clipped the cursor) on this
    // very press; the overlay's pointer grab then took the place of ours,
    // and is not to be let go.
    if (swallow && (BlockingMouseHookInstalled() || CursorClipped()))
      XAllowEvents(dpy, AsyncPointer, CurrentTime);
    else if (swallow)
      XUngrabPointer(dpy, CurrentTime);
    else
      XAllowEvents(dpy, ReplayPointer, CurrentTime);
  }
  XFlush(dpy);
}

// The engine's own press of a grabbed key must not activate the grab. XTest
// input is processed inside the request that fakes it, in this
// connection's request order, so taking every grab of ours away for the
// length of the fake press is exact: nothing of ours is grabbed when the
// server handles it, and the grabs are back for the next real press. The
// one case where the server does not handle it at once is a device frozen
// by a grabbed press that still waits for our answer: then the fake press
// is held back and handled after the thaw, when the grabs are back. That
// state is known here (taken and unanswered, or sent to us and not yet
// read: after the ungrab, a round trip brings every such event into the
// queue), and the press is then remembered so that its grab activation is
// replayed without asking the engine. Releases never activate a grab.
void FakeOwnKey(Display* dpy, KeyCode code, bool press) {
  CaptureState& s = State();
  if (!press) {
    if (s.heldKeys.count(code)) ++s.ownKeyReleases[code];
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    return;
  }
  if (!s.keys.count(code)) {
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    return;
  }
  const Window root = DefaultRootWindow(dpy);
  for (const auto& [k, grab] : s.keys) XUngrabKey(dpy, k, AnyModifier, root);
  XSync(dpy, False);
  const int ahead = FrozenPressesQueued(dpy, KeyPress);
  if (s.keyboardFrozen || ahead > 0) s.ownKeyPresses.push_back({code, ahead});
  XTestFakeKeyEvent(dpy, code, True, CurrentTime);
  X11ErrorTrap trap(dpy);
  for (const auto& [k, grab] : s.keys) GrabKey(dpy, k, grab.oneByOne);
  // A grab another program took in the meantime stays theirs.
  trap.failed();
}

void FakeOwnButton(Display* dpy, unsigned xButton, bool press) {
  CaptureState& s = State();
  if (!press) {
    if (s.heldButtons.count(xButton)) ++s.ownButtonReleases[xButton];
    XTestFakeButtonEvent(dpy, xButton, False, CurrentTime);
    return;
  }
  if (!ButtonGrabbed(s, xButton)) {
    XTestFakeButtonEvent(dpy, xButton, True, CurrentTime);
    return;
  }
  const Window root = DefaultRootWindow(dpy);
  for (int b = 0; b < kCaptureButtons; ++b)
    if ((s.buttons >> b) & 1) XUngrabButton(dpy, kXButtons[b], AnyModifier, root);
  XSync(dpy, False);
  const int ahead = FrozenPressesQueued(dpy, ButtonPress);
  if (s.pointerFrozen || ahead > 0) s.ownButtonPresses.push_back({xButton, ahead});
  XTestFakeButtonEvent(dpy, xButton, True, CurrentTime);
  X11ErrorTrap trap(dpy);
  for (int b = 0; b < kCaptureButtons; ++b)
    if ((s.buttons >> b) & 1) GrabButton(dpy, kXButtons[b], (s.buttonsOneByOne >> b) & 1);
  trap.failed();
}

void SetDeviceEventsWanted(Display* dpy, bool on) {
  CaptureState& s = State();
  s.deviceEvents = on;
  UpdateRawSelection(dpy, s);
  SetPadDeviceEvents(on);
}

}  // namespace linux_backend

void SetKeyboardCapture(const std::vector<std::uint16_t>& vks) {
  X11Session x;
  if (!x) return;
  Display* dpy = x.display();
  CaptureState& s = State();
  // Several virtual keys may name one key (Shift and left Shift): the
  // first listed is the one reported.
  std::map<KeyCode, std::uint16_t> want;
  for (std::uint16_t vk : vks) {
    std::uint32_t sym = KeysymForVk(vk);
    KeyCode code = sym ? XKeysymToKeycode(dpy, sym) : 0;
    if (code != 0) want.emplace(code, vk);
  }
  const Window root = DefaultRootWindow(dpy);
  for (auto it = s.keys.begin(); it != s.keys.end();) {
    if (want.count(it->first)) {
      ++it;
      continue;
    }
    XUngrabKey(dpy, it->first, AnyModifier, root);
    std::erase_if(s.ownKeyPresses, [&](const OwnPress& p) { return p.code == it->first; });
    it = s.keys.erase(it);
  }
  for (const auto& [code, vk] : want) {
    auto have = s.keys.find(code);
    if (have != s.keys.end())
      have->second.vk = vk;
    else
      s.keys.emplace(code, KeyGrab{vk, GrabKeyFirstTime(dpy, code)});
  }
  UpdateRawSelection(dpy, s);
  XFlush(dpy);
}

void SetMouseCapture(std::uint32_t buttons) {
  X11Session x;
  if (!x) return;
  Display* dpy = x.display();
  CaptureState& s = State();
  buttons &= (1u << kCaptureButtons) - 1;
  const Window root = DefaultRootWindow(dpy);
  for (int b = 0; b < kCaptureButtons; ++b) {
    const bool had = (s.buttons >> b) & 1, wanted = (buttons >> b) & 1;
    if (had && !wanted) {
      XUngrabButton(dpy, kXButtons[b], AnyModifier, root);
      std::erase_if(s.ownButtonPresses, [&](const OwnPress& p) { return p.code == kXButtons[b]; });
      s.buttons &= ~(1u << b);
      s.buttonsOneByOne &= ~(1u << b);
    } else if (!had && wanted) {
      s.buttons |= 1u << b;
      if (GrabButtonFirstTime(dpy, kXButtons[b])) s.buttonsOneByOne |= 1u << b;
    }
  }
  UpdateRawSelection(dpy, s);
  XFlush(dpy);
}

bool KeyboardCaptureInstalled() {
  X11Session x;
  return !State().keys.empty();
}

bool MouseCaptureInstalled() {
  X11Session x;
  return State().buttons != 0;
}

bool ForegroundIsOwnProcess() {
  const WindowId fg = ForegroundWindow();
  if (fg == 0) return false;
  for (OverlayKind k : {OverlayKind::kWheel, OverlayKind::kLauncher, OverlayKind::kToast,
                        OverlayKind::kHeldKeysBar})
    if (OverlayWindow(k) == fg) return true;
  X11Session x;
  if (!x) return false;
  Display* dpy = x.display();
  // The focus may sit on a child of the top-level window that carries the
  // process id (a toolkit's focus proxy): the ancestors are asked too.
  Window w = static_cast<Window>(fg);
  const Window root = DefaultRootWindow(dpy);
  for (int depth = 0; depth < 16 && w != 0 && w != root; ++depth) {
    unsigned long pid = linux_backend::PropertyItem(dpy, w, "_NET_WM_PID", XA_CARDINAL);
    if (pid != 0) return pid == static_cast<unsigned long>(getpid());
    Window parent = 0, rootReturn = 0;
    Window* children = nullptr;
    unsigned n = 0;
    X11ErrorTrap trap(dpy);
    Status ok = XQueryTree(dpy, w, &rootReturn, &parent, &children, &n);
    XPtr<Window> owned(children);
    if (trap.failed() || !ok) return false;
    w = parent;
  }
  return false;
}

namespace {

void ListXDevices(std::vector<InputDeviceInfo>& out) {
  X11Session x;
  if (!x || x.xi2Opcode() < 0) return;
  Display* dpy = x.display();
  int n = 0;
  XIDeviceInfo* info = XIQueryDevice(dpy, XIAllDevices, &n);
  if (!info) return;
  for (int i = 0; i < n; ++i) {
    const XIDeviceInfo& d = info[i];
    if (!d.name || IsXTestDevice(d.name)) continue;
    DeviceKind kind;
    if (d.use == XISlaveKeyboard) {
      kind = DeviceKind::Keyboard;
    } else if (d.use == XISlavePointer) {
      kind = DeviceKind::Mouse;
    } else if (d.use == XIFloatingSlave) {
      bool keys = false;
      for (int c = 0; c < d.num_classes; ++c) keys = keys || d.classes[c]->type == XIKeyClass;
      kind = keys ? DeviceKind::Keyboard : DeviceKind::Mouse;
    } else {
      continue;  // the masters
    }
    out.push_back({DeviceText(dpy, d.deviceid, d.name), kind});
  }
  XIFreeDeviceInfo(info);
}

}  // namespace

std::vector<InputDeviceInfo> ListInputDevices() {
  std::vector<InputDeviceInfo> out;
  ListXDevices(out);
  for (InputDeviceInfo& pad : linux_backend::ListPadDevices()) out.push_back(std::move(pad));
  return out;
}

}  // namespace velmor::platform
