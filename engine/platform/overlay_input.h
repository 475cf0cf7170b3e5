#pragma once

// The input side of the wheel overlay: the toggle key of three kinds, the
// mouse held while the wheel is shown, hidden system cursors, raw mouse
// motion and game pads. GUI thread only; hooks and grabs are installed from
// it and report back through the engine's event queue.

#include <cstdint>

#include "engine/platform/desktop.h"

namespace velmor::platform {

// Modifier bits as RegisterHotKey takes them.
inline constexpr unsigned kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4, kModWin = 0x8;

// Mouse buttons as SendMouseButton numbers them; the toggle key uses 2, 3, 4.
inline constexpr int kNoButton = -1;

// Keyboard chord: a global hotkey, id 1, without auto-repeat, that arrives
// as EngineEvents::OnHotkey(1). Win32 RegisterHotKey on the main window;
// X11 a passive grab of the key with every CapsLock/NumLock variant. False
// when the chord is taken (or the key has no key code).
bool RegisterToggleHotkey(unsigned modifiers, std::uint16_t vk);
void UnregisterToggleHotkey();

// Mouse-button toggle: while no blocking hook is installed, a real
// (non-injected) press of `button` posts the hotkey message id 1 and is
// swallowed. Win32 a low-level mouse hook; X11 a passive button grab.
void InstallToggleMouseHook(int button);
void RemoveToggleMouseHook();

// While the wheel is shown every real mouse event is swallowed: a press of
// `toggleButton` (kNoButton when the toggle key is no mouse button) posts
// the hotkey message id 1, a left press posts WM_OVL_WHEELCLICK, injected
// events pass. Win32 a low-level mouse hook; X11 an active pointer grab on
// the wheel window.
void InstallBlockingMouseHook(int toggleButton);
void RemoveBlockingMouseHook();
bool BlockingMouseHookInstalled();

// Holds the real cursor still: Win32 ClipCursor to a 1x1 rectangle at `at`;
// X11 the pointer confined to a 1x1 window there.
void ClipCursorTo(Point at);
void FreeCursorClip();
bool CursorClipped();

// Win32: blank cursors set with SetSystemCursor over the 13 standard ones;
// restored by reloading the cursor scheme (SPI_SETCURSORS), which engine
// start also does once. X11: XFixesHideCursor / XFixesShowCursor.
void HideSystemCursors();
void RestoreSystemCursors();
bool SystemCursorsHidden();

// A last-chance release for a process that dies while the wheel holds the
// mouse. Win32: an unhandled-exception filter and a terminate handler that
// restore the cursors and free the clip (the hooks die with the process).
// X11: the server drops a dead client's grabs and cursor hiding itself.
void ReleaseInputOnCrash();

// Raw mouse input for the wheel window (Win32 raw input with the input-sink
// flag; X11 XI2 raw motion and raw button presses). Motion arrives as
// EngineEvents::OnRawMouse in device counts.
bool RegisterRawMouseInput();
void UnregisterRawMouseInput();

// Game pads 0-3, as XInput reports them (Win32 XInputGetState from the first
// of xinput1_4.dll, xinput1_3.dll, xinput9_1_0.dll that has it; Linux evdev
// game pads in the order the kernel numbered them, buttons mapped to the
// XInput bits). LoadPadLibrary is false when pads cannot be read at all.
struct PadState {
  bool connected = false;
  std::uint16_t buttons = 0;  // XINPUT_GAMEPAD_* bits
  std::uint8_t leftTrigger = 0, rightTrigger = 0;
};
bool LoadPadLibrary();
PadState ReadPad(int index);

}  // namespace velmor::platform
