#pragma once

// The overlay's own windows and the screens they sit on. Every overlay
// window is a borderless popup that is topmost, never activated and shows a
// per-pixel-alpha picture: Win32 a layered tool window updated with
// UpdateLayeredWindow; X11 an override-redirect window of a 32-bit ARGB
// visual. GUI thread only.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/argb_image.h"
#include "engine/platform/desktop.h"

namespace velmor::platform {

// Win32 classes: RadialOverlayWheel, RadialOverlayLauncher and
// RadialOverlayToast (the toast and the held-keys bar).
enum class OverlayKind { kWheel, kLauncher, kToast, kHeldKeysBar };

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom excluded
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool operator==(const Rect&) const = default;
};

// Creates the window once (hidden); later calls return whether it exists.
// The wheel window also receives raw input (see overlay_input.h). The
// launcher shows the hand cursor and the wheel the arrow.
bool CreateOverlayWindow(OverlayKind kind);

// Shows `image` with its top-left corner at `topLeft` (screen pixels), sized
// to the image, topmost, without activating. Also updates a shown window.
void ShowOverlay(OverlayKind kind, Point topLeft, const ArgbImage& image);
// Moves a window without redrawing it.
void MoveOverlay(OverlayKind kind, Point topLeft);
void HideOverlay(OverlayKind kind);
bool OverlayShown(OverlayKind kind);
// 0 before the window exists.
WindowId OverlayWindow(OverlayKind kind);

// Makes the wheel window the foreground window (input attached to the
// foreground thread for the call), so that a game behind it loses focus.
void TakeFocusForWheel();

// Screens. The full rectangle of a monitor, not its work area.
Rect MonitorAt(Point p);           // the monitor under a point (nearest when none)
Rect MonitorOfWindow(WindowId w);  // the monitor of a window; the primary for 0
Rect PrimaryMonitor();
Rect VirtualScreen();  // the bounding box of all monitors

// A full-screen Direct3D program runs (Win32: SHQueryUserNotificationState
// says QUNS_RUNNING_D3D_FULL_SCREEN; X11: the active window carries
// _NET_WM_STATE_FULLSCREEN).
bool FullScreenProgramRunning();

// Windows of other programs, for the minimise button.
// Top-level windows that are visible, not minimised, not cloaked, have no
// owner, are not tool windows, have a title, are not the desktop or taskbar
// (classes "Progman", "WorkerW", "Shell_TrayWnd", "Shell_SecondaryTrayWnd")
// and belong to another process; X11: the manager's client list with the
// same filter where the properties exist.
std::vector<WindowId> MinimisableWindows();
void MinimiseWindow(WindowId w);  // without activating anything
void RestoreWindow(WindowId w);
bool WindowMinimised(WindowId w);
std::uint32_t WindowProcess(WindowId w);  // 0 when unknown

// Starts the on-screen keyboard (Win32 "osk.exe" with "open"; Linux the
// first installed of the usual on-screen keyboards). False when none.
bool OpenOnScreenKeyboard();

// A modal warning the user must see (the toggle key could not be
// registered). Win32 a message box; X11 has no toolkit here and writes the
// line to standard error.
void ShowWarningBox(const std::u16string& title, const std::u16string& text);

}  // namespace velmor::platform
