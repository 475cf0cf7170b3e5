#pragma once

// The cursor and the foreground window, for giving focus back after the
// wheel closes.

#include <cstdint>

namespace velmor::platform {

using WindowId = std::uintptr_t;  // HWND on Windows, an X window id on X11; 0 = none

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

Point CursorPos();
void SetCursorPos(Point p);

WindowId ForegroundWindow();
bool WindowExists(WindowId w);
// Makes `w` the foreground window even when another process owns the
// foreground (Win32: input attached to the foreground thread for the call).
void BringToForeground(WindowId w);

}  // namespace velmor::platform
