// The overlay's input on X11: the toggle chord and toggle button as passive
// grabs on the root, the mouse held by an active pointer grab on the wheel
// window, the cursor confined to a 1x1 window, XFixes cursor hiding and XI2
// raw motion. What the grabs catch is read by the engine's event queue on
// the GUI thread (CollectOverlayEvents).
//
// Limits of X compared with the Win32 hooks: a grab cannot tell XTest
// input from a real device, so a key or button the engine itself injects
// through XTest toggles like a real one (the core events carry no source
// device), and while the wheel holds the pointer injected clicks are held
// too. The engine hides the wheel before it runs a field's steps, so its
// own clicks never meet the blocking grab.

#include "engine/platform/overlay_input.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <thread>
#include <vector>

#include "engine/core/engine_messages.h"
#include "engine/platform/linux/input_capture_x11.h"
#include "engine/platform/linux/overlay_events_x11.h"
#include "engine/platform/linux/x11_connection.h"
#include "engine/platform/overlay_window.h"
#include "engine/platform/vk_keysyms.h"

namespace velmor::platform {

namespace {

using linux_backend::OverlayAction;
using linux_backend::X11ErrorTrap;
using linux_backend::X11Session;

struct InputState {
  // The toggle chord.
  KeyCode hotkeyCode = 0;
  unsigned hotkeyMods = 0;
  std::vector<unsigned> lockVariants;
  bool hotkeyDown = false;  // auto-repeat presses come while it is down
  // The toggle button's passive grab (an X button number, 0 = none).
  unsigned toggleButton = 0;
  // The active pointer grab, held for blocking, confining or both.
  bool blocking = false;
  unsigned blockingToggleButton = 0;
  Window clipWindow = 0;
  bool clipped = false;
  bool cursorsHidden = false;
  bool raw = false;
  double rawRestX = 0, rawRestY = 0;
  std::map<int, bool> relativeSource;  // XI2 source device -> relative valuators
};

InputState& State() {
  static InputState s;
  return s;
}

// SendMouseButton numbering: 0 left, 1 right, 2 middle, 3 X1, 4 X2.
unsigned XButtonOf(int button) {
  switch (button) {
    case 0:
      return Button1;
    case 1:
      return Button3;
    case 2:
      return Button2;
    case 3:
      return 8;
    case 4:
      return 9;
    default:
      return 0;
  }
}

// The modifier bits the keys of `sym` set in this server's modifier map.
unsigned MaskOfKeysym(Display* dpy, KeySym sym) {
  KeyCode kc = XKeysymToKeycode(dpy, sym);
  if (kc == 0) return 0;
  XModifierKeymap* map = XGetModifierMapping(dpy);
  if (!map) return 0;
  unsigned mask = 0;
  for (int m = 0; m < 8; ++m)
    for (int k = 0; k < map->max_keypermod; ++k)
      if (map->modifiermap[m * map->max_keypermod + k] == kc) mask |= 1u << m;
  XFreeModifiermap(map);
  return mask;
}

unsigned XModifiers(Display* dpy, unsigned mods) {
  unsigned x = 0;
  if (mods & kModShift) x |= ShiftMask;
  if (mods & kModControl) x |= ControlMask;
  if (mods & kModAlt) {
    unsigned alt = MaskOfKeysym(dpy, XK_Alt_L);
    x |= alt ? alt : Mod1Mask;
  }
  if (mods & kModWin) {
    unsigned super = MaskOfKeysym(dpy, XK_Super_L);
    x |= super ? super : Mod4Mask;
  }
  return x;
}

// Every combination of CapsLock, NumLock and ScrollLock: a passive grab
// matches the modifier state exactly, and a lit lock is part of it.
std::vector<unsigned> LockVariants(Display* dpy, unsigned mods) {
  std::vector<unsigned> locks;
  for (unsigned m : {static_cast<unsigned>(LockMask), MaskOfKeysym(dpy, XK_Num_Lock),
                     MaskOfKeysym(dpy, XK_Scroll_Lock)}) {
    if (m != 0 && (m & mods) == 0 && std::find(locks.begin(), locks.end(), m) == locks.end())
      locks.push_back(m);
  }
  std::vector<unsigned> variants;
  for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
    unsigned v = 0;
    for (std::size_t i = 0; i < locks.size(); ++i)
      if (subset & (1u << i)) v |= locks[i];
    variants.push_back(v);
  }
  return variants;
}

void UngrabHotkey(Display* dpy, InputState& s) {
  if (s.hotkeyCode == 0) return;
  for (unsigned v : s.lockVariants)
    XUngrabKey(dpy, s.hotkeyCode, s.hotkeyMods | v, DefaultRootWindow(dpy));
  s.hotkeyCode = 0;
  s.lockVariants.clear();
  s.hotkeyDown = false;
}

// One grab serves both holders: the wheel's (all events to the wheel
// window) and the clip's (the pointer confined to the 1x1 window). Grabbing
// again while this client holds the grab changes it in place.
bool UpdatePointerGrab(Display* dpy, InputState& s) {
  if (!s.blocking && !s.clipped) {
    XUngrabPointer(dpy, CurrentTime);
    XFlush(dpy);
    return true;
  }
  Window grabWindow =
      s.blocking ? static_cast<Window>(OverlayWindow(OverlayKind::kWheel)) : s.clipWindow;
  Window confine = s.clipped ? s.clipWindow : None;
  constexpr unsigned kMask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
  // Another client (a menu, a drag in progress) may hold the pointer for a
  // moment; waiting a little longer than a click lasts gets past it.
  for (int attempt = 0; attempt < 10; ++attempt) {
    int r = XGrabPointer(dpy, grabWindow, False, kMask, GrabModeAsync, GrabModeAsync, confine, None,
                         CurrentTime);
    if (r == GrabSuccess) return true;
    if (r != AlreadyGrabbed && r != GrabFrozen) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

bool RelativeSource(Display* dpy, InputState& s, int source) {
  auto it = s.relativeSource.find(source);
  if (it != s.relativeSource.end()) return it->second;
  bool relative = true;
  int n = 0;
  X11ErrorTrap trap(dpy);
  if (XIDeviceInfo* info = XIQueryDevice(dpy, source, &n)) {
    for (int c = 0; c < info->num_classes; ++c) {
      if (info->classes[c]->type != XIValuatorClass) continue;
      auto* v = reinterpret_cast<XIValuatorClassInfo*>(info->classes[c]);
      if (v->number == 0) relative = v->mode == XIModeRelative;
    }
    XIFreeDeviceInfo(info);
  }
  trap.failed();
  s.relativeSource[source] = relative;
  return relative;
}

void CollectRaw(Display* dpy, InputState& s, XGenericEventCookie& cookie,
                std::vector<OverlayAction>& out) {
  const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
  if (cookie.evtype == XI_RawButtonPress) {
    // While the wheel holds the pointer its grab reports the press, as the
    // Win32 hook does for presses it swallows.
    if (raw->detail == Button1 && !s.blocking)
      out.push_back({OverlayAction::Kind::kRawMouse, 0, 0, 0, true});
    return;
  }
  if (cookie.evtype != XI_RawMotion || !RelativeSource(dpy, s, raw->sourceid)) return;
  double dx = 0, dy = 0;
  const double* value = raw->raw_values;
  for (int bit = 0; bit < raw->valuators.mask_len * 8; ++bit) {
    if (!XIMaskIsSet(raw->valuators.mask, bit)) continue;
    if (bit == 0) dx = *value;
    if (bit == 1) dy = *value;
    ++value;
  }
  // Sub-count motion (accelerated or high-resolution devices) adds up
  // rather than being lost.
  dx += s.rawRestX;
  dy += s.rawRestY;
  double ix = std::trunc(dx), iy = std::trunc(dy);
  s.rawRestX = dx - ix;
  s.rawRestY = dy - iy;
  if (ix != 0 || iy != 0)
    out.push_back(
        {OverlayAction::Kind::kRawMouse, 0, static_cast<int>(ix), static_cast<int>(iy), false});
}

}  // namespace

namespace linux_backend {

void CollectOverlayEvents(Display* dpy, int xi2Opcode, std::vector<OverlayAction>& out) {
  InputState& s = State();
  while (XPending(dpy) > 0) {
    XEvent ev;
    XNextEvent(dpy, &ev);
    // The input capture's grabs and raw device events first.
    if (CollectCaptureEvent(dpy, ev, out)) continue;
    switch (ev.type) {
      case KeyPress:
        if (s.hotkeyCode != 0 && ev.xkey.keycode == s.hotkeyCode && !s.hotkeyDown) {
          s.hotkeyDown = true;
          out.push_back({OverlayAction::Kind::kHotkey});
        }
        break;
      case KeyRelease:
        if (ev.xkey.keycode == s.hotkeyCode) s.hotkeyDown = false;
        break;
      case ButtonPress:
        if (s.blocking) {
          if (ev.xbutton.button == Button1)
            out.push_back({OverlayAction::Kind::kMessage, WM_OVL_WHEELCLICK});
          else if (s.blockingToggleButton != 0 && ev.xbutton.button == s.blockingToggleButton)
            out.push_back({OverlayAction::Kind::kHotkey});
        } else if (s.toggleButton != 0 && ev.xbutton.button == s.toggleButton) {
          out.push_back({OverlayAction::Kind::kHotkey});
        }
        break;
      case GenericEvent:
        if (xi2Opcode >= 0 && ev.xcookie.extension == xi2Opcode &&
            XGetEventData(dpy, &ev.xcookie)) {
          if (!CollectCaptureRaw(dpy, ev.xcookie, out) && s.raw)
            CollectRaw(dpy, s, ev.xcookie, out);
          XFreeEventData(dpy, &ev.xcookie);
        }
        break;
      default:
        break;
    }
  }
}

}  // namespace linux_backend

bool RegisterToggleHotkey(unsigned modifiers, std::uint16_t vk) {
  X11Session x;
  if (!x) return false;
  Display* dpy = x.display();
  InputState& s = State();
  UngrabHotkey(dpy, s);
  std::uint32_t sym = KeysymForVk(vk);
  KeyCode code = sym ? XKeysymToKeycode(dpy, sym) : 0;
  if (code == 0) return false;
  unsigned mods = XModifiers(dpy, modifiers);
  std::vector<unsigned> variants = LockVariants(dpy, mods);
  // Held keys repeat as presses alone instead of release-press pairs, so a
  // press while the key is down is a repeat and RegisterHotKey's no-repeat
  // can be kept.
  Bool detectable = False;
  XkbSetDetectableAutoRepeat(dpy, True, &detectable);
  Window root = DefaultRootWindow(dpy);
  X11ErrorTrap trap(dpy);
  for (unsigned v : variants)
    XGrabKey(dpy, code, mods | v, root, False, GrabModeAsync, GrabModeAsync);
  if (trap.failed()) {
    // Another client holds the chord (in one variant at least). Ungrabbing
    // what is not ours leaves theirs alone.
    for (unsigned v : variants) XUngrabKey(dpy, code, mods | v, root);
    return false;
  }
  s.hotkeyCode = code;
  s.hotkeyMods = mods;
  s.lockVariants = std::move(variants);
  s.hotkeyDown = false;
  return true;
}

void UnregisterToggleHotkey() {
  X11Session x;
  if (!x) return;
  UngrabHotkey(x.display(), State());
  XFlush(x.display());
}

void InstallToggleMouseHook(int button) {
  X11Session x;
  if (!x) return;
  Display* dpy = x.display();
  InputState& s = State();
  unsigned xb = XButtonOf(button);
  if (s.toggleButton != 0) XUngrabButton(dpy, s.toggleButton, AnyModifier, DefaultRootWindow(dpy));
  s.toggleButton = 0;
  if (xb == 0) return;
  X11ErrorTrap trap(dpy);
  // The press and its release go to us alone: the grab swallows them.
  XGrabButton(dpy, xb, AnyModifier, DefaultRootWindow(dpy), False,
              ButtonPressMask | ButtonReleaseMask, GrabModeAsync, GrabModeAsync, None, None);
  if (!trap.failed()) s.toggleButton = xb;
}

void RemoveToggleMouseHook() {
  X11Session x;
  InputState& s = State();
  if (!x || s.toggleButton == 0) return;
  XUngrabButton(x.display(), s.toggleButton, AnyModifier, DefaultRootWindow(x.display()));
  XFlush(x.display());
  s.toggleButton = 0;
}

void InstallBlockingMouseHook(int toggleButton) {
  X11Session x;
  if (!x || OverlayWindow(OverlayKind::kWheel) == 0) return;
  Display* dpy = x.display();
  InputState& s = State();
  s.blocking = true;
  s.blockingToggleButton = toggleButton == kNoButton ? 0 : XButtonOf(toggleButton);
  if (!UpdatePointerGrab(dpy, s)) {
    s.blocking = false;
    UpdatePointerGrab(dpy, s);
  }
}

void RemoveBlockingMouseHook() {
  X11Session x;
  InputState& s = State();
  if (!x || !s.blocking) return;
  s.blocking = false;
  UpdatePointerGrab(x.display(), s);
}

bool BlockingMouseHookInstalled() {
  return State().blocking;
}

void ClipCursorTo(Point at) {
  X11Session x;
  if (!x) return;
  Display* dpy = x.display();
  InputState& s = State();
  if (!s.clipWindow) {
    XSetWindowAttributes a{};
    a.override_redirect = True;
    s.clipWindow = XCreateWindow(dpy, DefaultRootWindow(dpy), at.x, at.y, 1, 1, 0, 0, InputOnly,
                                 CopyFromParent, CWOverrideRedirect, &a);
  }
  // Confining needs a viewable window; an InputOnly one shows nothing.
  XMoveWindow(dpy, s.clipWindow, at.x, at.y);
  XMapRaised(dpy, s.clipWindow);
  s.clipped = true;
  if (!UpdatePointerGrab(dpy, s)) {
    s.clipped = false;
    XUnmapWindow(dpy, s.clipWindow);
    UpdatePointerGrab(dpy, s);
  }
}

void FreeCursorClip() {
  X11Session x;
  InputState& s = State();
  if (!x || !s.clipped) return;
  s.clipped = false;
  UpdatePointerGrab(x.display(), s);
  XUnmapWindow(x.display(), s.clipWindow);
  XFlush(x.display());
}

bool CursorClipped() {
  return State().clipped;
}

void HideSystemCursors() {
  X11Session x;
  InputState& s = State();
  if (!x || s.cursorsHidden) return;
  int event = 0, error = 0;
  if (!XFixesQueryExtension(x.display(), &event, &error)) return;
  // The server counts hides per client and shows the cursor again when the
  // client goes away, so a crashed engine leaves no cursor hidden.
  XFixesHideCursor(x.display(), DefaultRootWindow(x.display()));
  XFlush(x.display());
  s.cursorsHidden = true;
}

void RestoreSystemCursors() {
  X11Session x;
  InputState& s = State();
  if (!x || !s.cursorsHidden) return;
  XFixesShowCursor(x.display(), DefaultRootWindow(x.display()));
  XFlush(x.display());
  s.cursorsHidden = false;
}

bool SystemCursorsHidden() {
  return State().cursorsHidden;
}

bool RegisterRawMouseInput() {
  X11Session x;
  if (!x || x.xi2Opcode() < 0) return false;
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(bits, XI_RawMotion);
  XISetMask(bits, XI_RawButtonPress);
  XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
  {
    X11ErrorTrap trap(x.display());
    XISelectEvents(x.display(), DefaultRootWindow(x.display()), &mask, 1);
    if (trap.failed()) return false;
  }
  // The per-device stream of the input capture comes with it.
  linux_backend::SetDeviceEventsWanted(x.display(), true);
  InputState& s = State();
  s.raw = true;
  s.rawRestX = s.rawRestY = 0;
  return true;
}

void UnregisterRawMouseInput() {
  X11Session x;
  InputState& s = State();
  if (!x || !s.raw) return;
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
  XISelectEvents(x.display(), DefaultRootWindow(x.display()), &mask, 1);
  linux_backend::SetDeviceEventsWanted(x.display(), false);
  XFlush(x.display());
  s.raw = false;
}

}  // namespace velmor::platform
