#include "engine/display/overlay.h"

#include <atomic>
#include <set>
#include <vector>

#include "engine/core/atomic_file.h"
#include "engine/core/clock.h"
#include "engine/core/engine.h"
#include "engine/core/engine_messages.h"
#include "engine/core/held_keys.h"
#include "engine/core/json_reader.h"
#include "engine/core/messages.h"
#include "engine/core/step_runner.h"
#include "engine/core/text.h"
#include "engine/display/gaze_sample.h"
#include "engine/display/overlay_placement.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/input.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"
#include "engine/render/overlay_renderer.h"

namespace velmor::overlay {

namespace wg = wheel_geometry;
using platform::OverlayKind;

namespace {

struct OverlayState {
  // Read from other threads too (voice results, the mapping rules).
  std::atomic<bool> visible{false};
  bool fullScreenAtShow = false;
  platform::Point windowPos;
  WheelCursor cursor;
  platform::ArgbImage wheelImage;

  // The window the wheel took the focus from, checked by timer 7004.
  platform::WindowId focusTakenFrom = 0;
  std::set<std::uint32_t> noFocusProcesses;
  std::vector<platform::WindowId> minimised;

  Launcher launcher;
  platform::ArgbImage launcherImage;

  bool barShown = false;
  PadToggle padToggle;
};

OverlayState& S() {
  static OverlayState s;
  return s;
}

std::int64_t Now() {
  return EngineClock().NowMs();
}

// The toggle key's mouse button as the platform numbers buttons.
int ToggleMouseButton() {
  const ToggleKey& t = CurrentToggleKey();
  if (t.kind != ToggleKey::Kind::Mouse) return platform::kNoButton;
  return t.mouseButton + 1;  // mmb 1 → middle 2, mb4 2 → X1 3, mb5 3 → X2 4
}

const Wheel* CurrentWheel() {
  const WheelList& wheels = CurrentWheels();
  if (wheels.empty()) return nullptr;
  std::size_t i = CurrentWheelIndex();
  return &wheels[i < wheels.size() ? i : 0];
}

int FieldCount() {
  const Wheel* w = CurrentWheel();
  return w ? static_cast<int>(w->fields.size()) : 1;
}

int WheelCount() {
  return static_cast<int>(CurrentWheels().size());
}

void HoverSpeech() {
  const auto& s = CurrentSettings();
  const auto& hover = S().cursor.hover();
  const Wheel* w = CurrentWheel();
  if (!s.readAloud || hover.field < 0 || !w ||
      static_cast<std::size_t>(hover.field) >= w->fields.size())
    return;
  const WheelAction& f = w->fields[static_cast<std::size_t>(hover.field)];
  std::u16string text = !f.name.empty()    ? f.name
                        : !f.voice.empty() ? f.voice
                                           : Utf8ToWide(std::to_string(hover.field + 1));
  if (Hooks().speak) Hooks().speak(text);
}

platform::WindowId ToastAnchorWindow() {
  // The toast and the bar go on the monitor of the foreground window; with
  // none, on the primary one.
  return platform::ForegroundWindow();
}

void DrawLauncherNow() {
  auto& s = S();
  render::LauncherView v;
  v.size = s.launcher.size();
  v.hovering = s.launcher.hovering();
  v.hoverProgress = s.launcher.HoverProgress(Now());
  render::DrawLauncher(v, s.launcherImage);
  platform::ShowOverlay(OverlayKind::kLauncher, s.launcher.pos(), s.launcherImage);
}

void ReleaseMouse() {
  // Everything that holds the user's mouse, in the order it was taken back
  // from them; each call is harmless when nothing is held.
  platform::KillEngineTimer(kTimerWheelTick);
  if (platform::SystemCursorsHidden()) platform::RestoreSystemCursors();
  platform::FreeCursorClip();
  platform::RemoveBlockingMouseHook();
}

}  // namespace

OverlayHooks& Hooks() {
  static OverlayHooks hooks;
  return hooks;
}

void Start() {
  // A cursor hidden by a run that ended without restoring it comes back,
  // and a crash of this one gives the mouse back too.
  platform::RestoreSystemCursors();
  platform::ReleaseInputOnCrash();
  platform::CreateOverlayWindow(OverlayKind::kWheel);
  platform::RegisterRawMouseInput();
  platform::CreateOverlayWindow(OverlayKind::kLauncher);
  PlaceLauncher();
  platform::CreateOverlayWindow(OverlayKind::kToast);
  platform::CreateOverlayWindow(OverlayKind::kHeldKeysBar);
  InstallToggleKey(true);
}

void Stop() {
  if (S().visible) HideWheel();
  ReleaseMouse();
  platform::KillEngineTimer(kTimerLauncher);
  platform::KillEngineTimer(kTimerPadToggle);
  platform::KillEngineTimer(kTimerMinimiseCheck);
  platform::RemoveToggleMouseHook();
  platform::UnregisterRawMouseInput();
  platform::UnregisterToggleHotkey();
}

void Reload() {
  InstallToggleKey(false);
  PlaceLauncher();
  UpdateHeldKeysBar();
  WheelListChanged();
}

void WheelListChanged() {
  S().cursor.ClearHover();
  if (S().visible) {
    S().cursor.Rehit(FieldCount(), WheelCount());
    DrawWheel();
  }
}

void InstallToggleKey(bool warn) {
  platform::UnregisterToggleHotkey();
  platform::KillEngineTimer(kTimerPadToggle);
  platform::RemoveToggleMouseHook();
  const ToggleKey& t = CurrentToggleKey();
  switch (t.kind) {
    case ToggleKey::Kind::Keyboard:
      if (!platform::RegisterToggleHotkey(t.mods, t.key.vk) && warn) {
        const auto& s = CurrentSettings();
        platform::ShowWarningBox(u"Velmor",
                                 FormatEngineMessage(EngineMessage::HotkeyFailed,
                                                     EngineLanguageIndex(s.language), s.toggleKey));
      }
      break;
    case ToggleKey::Kind::Mouse:
      platform::InstallToggleMouseHook(ToggleMouseButton());
      break;
    case ToggleKey::Kind::Pad:
      if (platform::LoadPadLibrary()) {
        S().padToggle.Forget();
        platform::SetEngineTimer(kTimerPadToggle, 40);
      }
      break;
  }
}

void ShowWheel() {
  auto& s = S();
  if (s.visible) return;
  s.fullScreenAtShow = platform::FullScreenProgramRunning();

  platform::KillEngineTimer(kTimerLauncher);
  platform::HideOverlay(OverlayKind::kLauncher);
  s.launcher.OnWheelShown();

  RememberFocus();
  const platform::Point cursorAt = platform::CursorPos();
  s.windowPos = CentredTopLeft(platform::MonitorAt(cursorAt), wg::kWindowWidth, wg::kWindowHeight);
  s.cursor.Reset();
  s.visible = true;
  DrawWheel();

  const platform::WindowId fg = platform::ForegroundWindow();
  if (CurrentSettings().takeFocus && fg && !s.fullScreenAtShow &&
      !s.noFocusProcesses.count(platform::WindowProcess(fg))) {
    platform::TakeFocusForWheel();
    s.focusTakenFrom = fg;
    platform::SetEngineTimer(kTimerMinimiseCheck, 250);
  }

  platform::InstallBlockingMouseHook(ToggleMouseButton());
  platform::ClipCursorTo(cursorAt);
  platform::HideSystemCursors();
  platform::SetEngineTimer(kTimerWheelTick, 15);
}

void HideWheel() {
  auto& s = S();
  ReleaseMouse();
  platform::HideOverlay(OverlayKind::kWheel);
  s.visible = false;
  s.cursor.ClearHover();
  PlaceLauncher();
}

bool WheelVisible() {
  return S().visible;
}

void DrawWheel() {
  auto& s = S();
  const Wheel* w = CurrentWheel();
  if (!s.visible || !w) return;
  render::WheelView v;
  v.wheel = w;
  v.wheelIndex = CurrentWheelIndex() < CurrentWheels().size() ? CurrentWheelIndex() : 0;
  v.wheelCount = CurrentWheels().size();
  v.segmentColor = CurrentSettings().segmentColor;
  const auto& hover = s.cursor.hover();
  v.hoveredField = hover.field;
  v.hoveredArrow = hover.arrow;
  for (int b = 0; b < 3; ++b) v.hoveredButtons[b] = hover.buttons[b];
  v.cursorX = s.cursor.x();
  v.cursorY = s.cursor.y();
  v.dwellProgress = s.cursor.dwellProgress();
  v.programDir = EngineDirectory();
  render::DrawWheel(v, s.wheelImage);
  platform::ShowOverlay(OverlayKind::kWheel, s.windowPos, s.wheelImage);
}

void OnWheelTick() {
  auto& s = S();
  if (!s.visible) return;
  const auto& settings = CurrentSettings();
  WheelTickInput in;
  in.now = Now();
  in.fields = FieldCount();
  in.wheelCount = WheelCount();
  in.gazeEnabled = settings.gazeEnabled;
  in.gazeDwellMs = settings.gazeDwell;
  const GazeSample& g = SharedGaze();
  in.gaze = {g.state.load(), g.x.load(), g.y.load(), g.timeMs.load()};
  const platform::Rect primary = platform::PrimaryMonitor();
  in.screenWidth = primary.Width();
  in.screenHeight = primary.Height();
  in.windowLeft = s.windowPos.x;
  in.windowTop = s.windowPos.y;

  const WheelTickResult r = s.cursor.Tick(in);
  if (r.hoverChanged) HoverSpeech();
  if (r.redraw) DrawWheel();
  if (r.click) platform::PostEngineMessage(WM_OVL_WHEELCLICK);
}

void OnWheelClick() {
  auto& s = S();
  if (!s.visible) return;
  const wg::Hit hit = wg::HitTest(s.cursor.x(), s.cursor.y(), FieldCount(), WheelCount());
  if (hit.buttons[0]) {
    HideWheel();
    RestoreFocus();
    platform::OpenOnScreenKeyboard();
  } else if (hit.buttons[1]) {
    HideWheel();
    RestoreCursorOnly();
    // Restore only what is still minimised: a window the user brought back
    // and maximised meanwhile keeps its size.
    bool anyStillMinimised = false;
    for (auto w : s.minimised)
      if (platform::WindowMinimised(w)) anyStillMinimised = true;
    if (anyStillMinimised) {
      for (auto it = s.minimised.rbegin(); it != s.minimised.rend(); ++it)
        if (platform::WindowMinimised(*it)) platform::RestoreWindow(*it);
      s.minimised.clear();
    } else {
      s.minimised.clear();
      for (auto w : platform::MinimisableWindows()) {
        platform::MinimiseWindow(w);
        s.minimised.push_back(w);
      }
    }
  } else if (hit.buttons[2]) {
    HideWheel();
    RestoreFocus();
    if (Hooks().startPhoneMirror) Hooks().startPhoneMirror();
  } else if (hit.arrow >= 0) {
    const std::size_t n = CurrentWheels().size();
    if (n > 1) SetCurrentWheelIndex((CurrentWheelIndex() + (hit.arrow == 1 ? 1 : n - 1)) % n);
    s.cursor.Rehit(FieldCount(), WheelCount());
    DrawWheel();
  } else if (hit.field >= 0) {
    const Wheel* w = CurrentWheel();
    if (!w || static_cast<std::size_t>(hit.field) >= w->fields.size()) return;
    WheelAction field = w->fields[static_cast<std::size_t>(hit.field)];
    HideWheel();
    RestoreFocus();
    RunField(field, SendDelayMs());
  }
}

void OnRawMouse(int dx, int dy, bool leftDown) {
  if (!S().visible) return;
  if (dx || dy) S().cursor.AddMotion(dx, dy);
  // The blocking hook reports the same press; a second click would turn
  // two pages at an arrow. Raw input clicks only when no hook holds the
  // mouse.
  if (leftDown && !platform::BlockingMouseHookInstalled())
    platform::PostEngineMessage(WM_OVL_WHEELCLICK);
}

void OnMinimiseCheck() {
  auto& s = S();
  platform::KillEngineTimer(kTimerMinimiseCheck);
  const platform::WindowId w = s.focusTakenFrom;
  s.focusTakenFrom = 0;
  // A game that minimises when it loses the focus is never given the
  // wheel's focus again.
  if (w && platform::WindowMinimised(w)) {
    s.noFocusProcesses.insert(platform::WindowProcess(w));
    platform::RestoreWindow(w);
  }
}

void OnPadToggleTick() {
  const std::uint32_t mask = CurrentToggleKey().padMask;
  for (int i = 0; i < 4; ++i) {
    if (S().padToggle.Update(i, PadToggleState(platform::ReadPad(i)), mask))
      platform::PostEngineMessage(kWmHotkey, 1);
  }
}

void PlaceLauncher() {
  auto& s = S();
  const auto& settings = CurrentSettings();
  if (!settings.launcherEnabled || s.visible) {
    platform::KillEngineTimer(kTimerLauncher);
    platform::HideOverlay(OverlayKind::kLauncher);
    return;
  }
  platform::Point p = s.launcher.pos();
  if (auto text = ReadTextFile(EngineDirectory() / "launcher.pos"))
    if (auto stored = ParseLauncherPos(WideToUtf8(*text))) p = *stored;
  s.launcher.Place(p, settings.launcherSize, platform::VirtualScreen());
  DrawLauncherNow();
  platform::SetEngineTimer(kTimerLauncher, 50);
}

void OnLauncherTick() {
  auto& s = S();
  if (!CurrentSettings().launcherEnabled || s.visible) return;
  const LauncherTickResult r = s.launcher.Tick(Now(), platform::CursorPos(), platform::IsKeyDown(1),
                                               platform::VirtualScreen());
  if (r.savePos)
    WriteFileAtomically(EngineDirectory() / "launcher.pos", FormatLauncherPos(s.launcher.pos()));
  if (r.showWheel) {
    ShowWheel();
    return;
  }
  if (r.redraw || r.move) DrawLauncherNow();
}

void ShowToast(const std::u16string& text) {
  const auto& settings = CurrentSettings();
  if (!platform::OverlayWindow(OverlayKind::kToast) || text.empty() || !settings.voiceToast ||
      platform::FullScreenProgramRunning())
    return;
  platform::ArgbImage image;
  render::DrawToast(text, image);
  const bool bottom = settings.voiceToastPos == u"bottom";
  const bool barSameEdge = S().barShown && settings.heldKeysPos == settings.voiceToastPos;
  const platform::Point at = ToastTopLeft(platform::MonitorOfWindow(ToastAnchorWindow()),
                                          image.width, bottom, barSameEdge);
  platform::ShowOverlay(OverlayKind::kToast, at, image);
  platform::SetEngineTimer(kTimerToast, static_cast<std::uint32_t>(kToastLifeMs));
}

void OnToastTimer() {
  platform::KillEngineTimer(kTimerToast);
  platform::HideOverlay(OverlayKind::kToast);
}

void UpdateHeldKeysBar() {
  auto& s = S();
  const auto& settings = CurrentSettings();
  std::u16string labels;
  for (const HeldKey& k : HeldKeysSnapshot()) {
    if (!labels.empty()) labels += u"   ";
    labels += k.label;
  }
  if (labels.empty() || !settings.heldKeysShow || platform::FullScreenProgramRunning()) {
    if (s.barShown) platform::HideOverlay(OverlayKind::kHeldKeysBar);
    s.barShown = false;
    return;
  }
  const std::u16string text =
      std::u16string(EngineMessageText(EngineMessage::HeldKeysPrefix,
                                       EngineLanguageIndex(settings.language))) +
      labels;
  platform::ArgbImage image;
  render::DrawHeldKeysBar(text, image);
  const platform::Point at = HeldKeysBarTopLeft(platform::MonitorOfWindow(ToastAnchorWindow()),
                                                image.width, settings.heldKeysPos == u"bottom");
  platform::ShowOverlay(OverlayKind::kHeldKeysBar, at, image);
  s.barShown = true;
}

const WheelCursor& Cursor() {
  return S().cursor;
}
const Launcher& LauncherState() {
  return S().launcher;
}
platform::Point WheelWindowPos() {
  return S().windowPos;
}
bool HeldKeysBarShown() {
  return S().barShown;
}

}  // namespace velmor::overlay
