#include "engine/platform/desktop.h"
#include "engine/platform/fake/fake_platform.h"
#include "engine/platform/fake/fake_state.h"

namespace velmor::platform {

Point CursorPos() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.cursor;
}

void SetCursorPos(Point p) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.cursor = p;
  fake::RecordLocked(s, "cursor " + std::to_string(p.x) + "," + std::to_string(p.y));
}

WindowId ForegroundWindow() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.foreground;
}

bool WindowExists(WindowId w) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.windows.count(w) != 0;
}

void BringToForeground(WindowId w) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  if (!s.windows.count(w)) return;
  s.foreground = w;
  fake::RecordLocked(s, "foreground " + std::to_string(w));
}

void fake::SetCursor(Point p) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.cursor = p;
}

void fake::AddWindow(WindowId w) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.windows.insert(w);
}

void fake::RemoveWindow(WindowId w) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.windows.erase(w);
  if (s.foreground == w) s.foreground = 0;
}

void fake::SetForeground(WindowId w) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.foreground = w;
}

}  // namespace velmor::platform
