// Overlay windows and overlay input of the fake backend: state a test can
// read back, and one event line for every change.

#include <algorithm>
#include <string>

#include "engine/core/engine_messages.h"
#include "engine/platform/fake/fake_platform.h"
#include "engine/platform/fake/fake_state.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"

namespace velmor::platform {

namespace {

const char* KindName(OverlayKind kind) {
  switch (kind) {
    case OverlayKind::kWheel:
      return "wheel";
    case OverlayKind::kLauncher:
      return "launcher";
    case OverlayKind::kToast:
      return "toast";
    case OverlayKind::kHeldKeysBar:
      return "bar";
  }
  return "?";
}

fake::OverlayWindowState& Window(fake::State& s, OverlayKind kind) {
  return s.overlays[static_cast<int>(kind)];
}

std::string Pos(Point p) {
  return std::to_string(p.x) + "," + std::to_string(p.y);
}

// Window ids of the overlay's own windows, apart from the tests' ids.
constexpr WindowId kOverlayWindowBase = 0xF000;

}  // namespace

bool CreateOverlayWindow(OverlayKind kind) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  Window(s, kind).created = true;
  return true;
}

void ShowOverlay(OverlayKind kind, Point topLeft, const ArgbImage& image) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  auto& w = Window(s, kind);
  if (!w.created) return;
  const bool wasShown = w.shown;
  const bool moved = !(w.position == topLeft);
  w.shown = true;
  w.position = topLeft;
  w.image = image;
  ++w.draws;
  // Redraws in place are counted, not logged: the wheel redraws on every
  // cursor move.
  if (!wasShown || moved)
    fake::RecordLocked(s, std::string("overlay show ") + KindName(kind) + " " + Pos(topLeft) + " " +
                              std::to_string(image.width) + "x" + std::to_string(image.height));
}

void MoveOverlay(OverlayKind kind, Point topLeft) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  auto& w = Window(s, kind);
  if (!w.created) return;
  w.position = topLeft;
  fake::RecordLocked(s, std::string("overlay move ") + KindName(kind) + " " + Pos(topLeft));
}

void HideOverlay(OverlayKind kind) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  auto& w = Window(s, kind);
  if (!w.shown) return;
  w.shown = false;
  fake::RecordLocked(s, std::string("overlay hide ") + KindName(kind));
}

bool OverlayShown(OverlayKind kind) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return Window(s, kind).shown;
}

WindowId OverlayWindow(OverlayKind kind) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return Window(s, kind).created ? kOverlayWindowBase + static_cast<WindowId>(kind) : 0;
}

void TakeFocusForWheel() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.foreground = kOverlayWindowBase + static_cast<WindowId>(OverlayKind::kWheel);
  fake::RecordLocked(s, "focus wheel");
}

Rect MonitorAt(Point p) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  for (const Rect& m : s.monitors)
    if (m.Contains(p)) return m;
  // Nearest: the monitor whose rectangle is closest to the point.
  auto distance = [&](const Rect& m) {
    long dx = std::max({m.left - p.x, 0, p.x - (m.right - 1)});
    long dy = std::max({m.top - p.y, 0, p.y - (m.bottom - 1)});
    return dx * dx + dy * dy;
  };
  return *std::min_element(s.monitors.begin(), s.monitors.end(),
                           [&](const Rect& a, const Rect& b) { return distance(a) < distance(b); });
}

Rect MonitorOfWindow(WindowId) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.monitors.front();
}

Rect PrimaryMonitor() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.monitors.front();
}

Rect VirtualScreen() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  Rect r = s.monitors.front();
  for (const Rect& m : s.monitors) {
    r.left = std::min(r.left, m.left);
    r.top = std::min(r.top, m.top);
    r.right = std::max(r.right, m.right);
    r.bottom = std::max(r.bottom, m.bottom);
  }
  return r;
}

bool FullScreenProgramRunning() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.fullScreen;
}

std::vector<WindowId> MinimisableWindows() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  std::vector<WindowId> out;
  for (const auto& [w, info] : s.windowInfo)
    if (info.minimisable && !info.minimised) out.push_back(w);
  return out;
}

void MinimiseWindow(WindowId w) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.windowInfo[w].minimised = true;
  fake::RecordLocked(s, "minimise " + std::to_string(w));
}

void RestoreWindow(WindowId w) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.windowInfo[w].minimised = false;
  fake::RecordLocked(s, "restore " + std::to_string(w));
}

bool WindowMinimised(WindowId w) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  auto it = s.windowInfo.find(w);
  return it != s.windowInfo.end() && it->second.minimised;
}

std::uint32_t WindowProcess(WindowId w) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  auto it = s.windowInfo.find(w);
  return it == s.windowInfo.end() ? 0 : it->second.process;
}

bool OpenOnScreenKeyboard() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  fake::RecordLocked(s, s.onScreenKeyboard ? "osk" : "osk none");
  return s.onScreenKeyboard;
}

void ShowWarningBox(const std::u16string& title, const std::u16string& text) {
  auto narrow = [](const std::u16string& t) {
    std::string out;
    for (char16_t c : t) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
  };
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  fake::RecordLocked(s, "warning " + narrow(title) + ": " + narrow(text));
}

bool RegisterToggleHotkey(unsigned modifiers, std::uint16_t vk) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  if (s.hotkeyTaken) {
    fake::RecordLocked(s, "hotkey taken");
    return false;
  }
  s.hotkeyRegistered = true;
  fake::RecordLocked(
      s, "hotkey register mods=" + std::to_string(modifiers) + " vk=" + std::to_string(vk));
  return true;
}

void UnregisterToggleHotkey() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  if (!s.hotkeyRegistered) return;
  s.hotkeyRegistered = false;
  fake::RecordLocked(s, "hotkey unregister");
}

void InstallToggleMouseHook(int button) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.toggleHookInstalled = true;
  s.toggleHookButton = button;
  fake::RecordLocked(s, "hook toggle " + std::to_string(button));
}

void RemoveToggleMouseHook() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  if (!s.toggleHookInstalled) return;
  s.toggleHookInstalled = false;
  s.toggleHookButton = kNoButton;
  fake::RecordLocked(s, "hook toggle off");
}

void InstallBlockingMouseHook(int toggleButton) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.blockingHook = true;
  s.blockingToggleButton = toggleButton;
  fake::RecordLocked(s, "hook blocking " + std::to_string(toggleButton));
}

void RemoveBlockingMouseHook() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  if (!s.blockingHook) return;
  s.blockingHook = false;
  s.blockingToggleButton = kNoButton;
  fake::RecordLocked(s, "hook blocking off");
}

bool BlockingMouseHookInstalled() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.blockingHook;
}

void ClipCursorTo(Point at) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.clipped = true;
  fake::RecordLocked(s, "clip " + Pos(at));
}

void FreeCursorClip() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  if (!s.clipped) return;
  s.clipped = false;
  fake::RecordLocked(s, "clip off");
}

bool CursorClipped() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.clipped;
}

void HideSystemCursors() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.cursorsHidden = true;
  fake::RecordLocked(s, "cursors hidden");
}

void RestoreSystemCursors() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.cursorsHidden = false;
  fake::RecordLocked(s, "cursors restored");
}

bool SystemCursorsHidden() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  return s.cursorsHidden;
}

void ReleaseInputOnCrash() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  fake::RecordLocked(s, "crash release installed");
}

bool RegisterRawMouseInput() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  s.rawRegistered = true;
  fake::RecordLocked(s, "raw register");
  return true;
}

void UnregisterRawMouseInput() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  if (!s.rawRegistered) return;
  s.rawRegistered = false;
  fake::RecordLocked(s, "raw unregister");
}

bool LoadPadLibrary() {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  ++s.padLibraryLoads;
  return s.padLibrary;
}

PadState ReadPad(int index) {
  auto& s = fake::GetState();
  std::lock_guard lock(s.mutex);
  if (index < 0 || index > 3) return {};
  return s.pads[index];
}

fake::OverlaySnapshot fake::Overlay(OverlayKind kind) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  const auto& w = Window(s, kind);
  return {w.created, w.shown, w.position, w.image.width, w.image.height, w.draws};
}

ArgbImage fake::OverlayImage(OverlayKind kind) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  return Window(s, kind).image;
}

void fake::SetMonitors(std::vector<Rect> monitors) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  if (!monitors.empty()) s.monitors = std::move(monitors);
}

void fake::SetFullScreenProgram(bool running) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.fullScreen = running;
}

void fake::SetWindowInfo(WindowId w, std::uint32_t process, bool minimisable) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.windows.insert(w);
  auto& info = s.windowInfo[w];
  info.process = process;
  info.minimisable = minimisable;
}

void fake::SetWindowMinimised(WindowId w, bool minimised) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.windowInfo[w].minimised = minimised;
}

fake::InputSnapshot fake::Input() {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  return {s.hotkeyRegistered, s.toggleHookInstalled,  s.toggleHookButton,
          s.blockingHook,     s.blockingToggleButton, s.clipped,
          s.cursorsHidden,    s.rawRegistered};
}

void fake::SetHotkeyTaken(bool taken) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.hotkeyTaken = taken;
}

void fake::SetPadLibrary(bool present) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.padLibrary = present;
}

void fake::SetPad(int index, PadState state) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  if (index >= 0 && index < 4) s.pads[index] = state;
}

void fake::SetOnScreenKeyboard(bool installed) {
  auto& s = GetState();
  std::lock_guard lock(s.mutex);
  s.onScreenKeyboard = installed;
}

}  // namespace velmor::platform
