#include <windows.h>

#include "engine/platform/desktop.h"

namespace velmor::platform {

namespace {

HWND ToHwnd(WindowId w) {
  return reinterpret_cast<HWND>(w);
}

// Joins this thread's input state to another thread's for as long as it
// lives. Windows only lets the thread that owns the foreground hand it on,
// so the engine borrows that thread's input state for one call.
class AttachedInput {
 public:
  explicit AttachedInput(DWORD other) {
    DWORD self = GetCurrentThreadId();
    if (other != 0 && other != self && AttachThreadInput(self, other, TRUE)) other_ = other;
  }
  ~AttachedInput() {
    if (other_ != 0) AttachThreadInput(GetCurrentThreadId(), other_, FALSE);
  }
  AttachedInput(const AttachedInput&) = delete;
  AttachedInput& operator=(const AttachedInput&) = delete;

 private:
  DWORD other_ = 0;
};

}  // namespace

Point CursorPos() {
  POINT p{};
  if (!GetCursorPos(&p)) return {};
  return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

void SetCursorPos(Point p) {
  ::SetCursorPos(p.x, p.y);
}

WindowId ForegroundWindow() {
  return reinterpret_cast<WindowId>(GetForegroundWindow());
}

bool WindowExists(WindowId w) {
  return w != 0 && IsWindow(ToHwnd(w));
}

void BringToForeground(WindowId w) {
  HWND target = ToHwnd(w);
  HWND current = GetForegroundWindow();
  if (current == target) return;
  DWORD owner = current ? GetWindowThreadProcessId(current, nullptr) : 0;
  {
    AttachedInput attached(owner);
    SetForegroundWindow(target);
  }
  // Wine drops the foreground altogether when the input is detached again;
  // one more call, now with no foreground to take it from, puts the window
  // back. On Windows the window is already in front and this does not run.
  if (GetForegroundWindow() != target) SetForegroundWindow(target);
}

}  // namespace velmor::platform
