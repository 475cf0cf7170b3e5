// Input synthesis through XTest. Keys are sent by keysym, looked up in the
// display's own keyboard map, so the focused client sees the key it expects
// whatever key codes the server uses.

#include "engine/platform/input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <cstring>
#include <iterator>
#include <string>
#include <system_error>
#include <thread>

#include "engine/platform/linux/input_capture_x11.h"
#include "engine/platform/linux/x11_connection.h"
#include "engine/platform/vk_keysyms.h"

extern char** environ;

namespace velmor::platform {

namespace {

using linux_backend::X11Session;
using linux_backend::XPtr;

// X button numbers of left, right, middle, X1, X2 (8 and 9 are "back" and
// "forward" on X).
constexpr unsigned kButtons[] = {1, 3, 2, 8, 9};

bool KeyInKeymap(const char keys[32], KeyCode kc) {
  return kc != 0 && (static_cast<unsigned char>(keys[kc / 8]) >> (kc % 8)) & 1;
}

// The core pointer reports only buttons 1 to 5, so X1 and X2 are asked of
// the master pointer through XInput 2, which reports every button.
bool XiButtonDown(const X11Session& x, unsigned button) {
  if (x.xi2Opcode() < 0) return false;
  Display* dpy = x.display();
  int device = 0;
  if (!XIGetClientPointer(dpy, None, &device)) return false;
  Window root = 0, child = 0;
  double rx = 0, ry = 0, wx = 0, wy = 0;
  XIButtonState buttons{};
  XIModifierState mods{};
  XIGroupState group{};
  Bool ok = XIQueryPointer(dpy, device, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy,
                           &buttons, &mods, &group);
  XPtr<unsigned char> mask(buttons.mask);
  if (!ok) return false;
  return static_cast<int>(button / 8) < buttons.mask_len && XIMaskIsSet(buttons.mask, button);
}

bool CoreButtonDown(Display* dpy, unsigned mask) {
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned state = 0;
  if (!XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &state))
    return false;
  return (state & mask) != 0;
}

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// posix_spawn's attribute and file-action objects, released however the
// spawn ends.
struct SpawnSetup {
  posix_spawnattr_t attr;
  posix_spawn_file_actions_t actions;
  SpawnSetup() {
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_init(&actions);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

void SendKey(std::uint16_t vk, bool /*extended*/, bool up) {
  std::uint32_t keysym = KeysymForVk(vk);
  if (keysym == 0) return;
  X11Session x;
  if (!x.hasXTest()) return;
  KeyCode kc = XKeysymToKeycode(x.display(), keysym);
  // A keysym the server's map lacks (F13 and up on most maps) has no key to press.
  if (kc == 0) return;
  // Past the input capture's grabs: the engine's own keys are never rules' input.
  linux_backend::FakeOwnKey(x.display(), kc, !up);
  XFlush(x.display());
}

void SendMouseButton(int button, bool up) {
  if (button < 0 || button >= static_cast<int>(std::size(kButtons))) return;
  X11Session x;
  if (!x.hasXTest()) return;
  linux_backend::FakeOwnButton(x.display(), kButtons[button], !up);
  XFlush(x.display());
}

bool IsKeyDown(int vk) {
  if (vk < 0 || vk > 0xFF) return false;
  X11Session x;
  if (!x) return false;
  Display* dpy = x.display();
  switch (vk) {
    case 1:
      return CoreButtonDown(dpy, Button1Mask);
    case 2:
      return CoreButtonDown(dpy, Button3Mask);
    case 4:
      return CoreButtonDown(dpy, Button2Mask);
    case 5:
      return XiButtonDown(x, 8);
    case 6:
      return XiButtonDown(x, 9);
    default:
      break;
  }
  auto keysyms = KeysymsDownForVk(static_cast<std::uint16_t>(vk));
  if (keysyms.empty()) return false;
  char keys[32] = {};
  XQueryKeymap(dpy, keys);
  for (std::uint32_t keysym : keysyms)
    if (KeyInKeymap(keys, XKeysymToKeycode(dpy, keysym))) return true;
  return false;
}

void ShellOpen(const std::u16string& target) {
  if (target.empty()) return;
  std::string arg = Utf8(target);
  // No shell in between: the target is one argument, whatever it contains.
  char program[] = "xdg-open";
  char* argv[] = {program, arg.data(), nullptr};

  SpawnSetup setup;
  // Its own session, so the host's terminal signals do not reach it, and
  // the signal state of a clean process rather than that of an engine thread.
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGCHLD);
  posix_spawnattr_setsigmask(&setup.attr, &none);
  posix_spawnattr_setsigdefault(&setup.attr, &defaults);
  posix_spawnattr_setflags(
      &setup.attr,
      static_cast<short>(POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
  // Its output must not mix with the host's (a script may read the host's
  // stdout); errors still reach the host's stderr.
  posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);

  pid_t pid = 0;
  if (posix_spawnp(&pid, program, &setup.actions, &setup.attr, argv, environ) != 0) return;
  // The opener may run for as long as the program it starts; a thread of
  // its own collects it so no zombie is left and nobody waits for it.
  try {
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  } catch (const std::system_error&) {
    // Without a thread the child stays a zombie until the engine exits.
  }
}

}  // namespace velmor::platform
