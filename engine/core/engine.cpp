#include "engine/core/engine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "engine/core/engine_messages.h"
#include "engine/core/step_runner.h"
#include "engine/core/text.h"
#include "engine/display/overlay.h"
#include "engine/mapping/mapping.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/input.h"
#include "engine/platform/program_dir.h"
#include "engine/voice/voice.h"

namespace velmor {

namespace {

struct FocusRecord {
  platform::Point cursor;
  platform::WindowId window = 0;
  bool pending = false;
};

struct EngineState {
  bool started = false;
  bool running = false;
  bool quitOnCopyData = false;
  std::filesystem::path dir;
  EngineConfig config;
  FocusRecord focus;
};

EngineState& State() {
  static EngineState state;
  return state;
}

// Worker threads look wheels up by name while the GUI thread may replace the
// list, so the list itself is guarded; everything else here is GUI-thread
// state.
std::mutex g_wheelsMutex;

void InstallWheels(WheelList wheels) {
  std::lock_guard lock(g_wheelsMutex);
  State().config.wheels = std::move(wheels);
  State().config.currentWheel = 0;
}

std::optional<std::size_t> FindWheelByName(const std::u16string& name) {
  const std::u16string wanted = ToLower(name);
  std::lock_guard lock(g_wheelsMutex);
  const auto& wheels = State().config.wheels;
  for (std::size_t i = 0; i < wheels.size(); ++i)
    if (ToLower(wheels[i].name) == wanted) return i;
  return std::nullopt;
}

void LoadSettings() {
  EngineConfig fresh;
  {
    std::lock_guard lock(g_wheelsMutex);
    fresh.settings = State().config.settings;  // a reload keeps what the file leaves out
  }
  LoadEngineSettings(State().dir, fresh);
  SetStepTimings(fresh.settings.keyHold, fresh.settings.sendDelay);
  mapping::SetGestureTiming(fresh.settings.mapDouble, fresh.settings.mapHold);
  mapping::LoadMapRules(State().dir);
  mapping::LoadDeviceRules(State().dir);
  voice::SetVoiceSettings(fresh.settings, State().dir);
  voice::BuildGlobalVoiceActions();
  std::lock_guard lock(g_wheelsMutex);
  State().config = std::move(fresh);
}

void RunEngineCommand(std::uintptr_t code) {
  auto& st = State();
  switch (code) {
    case 1:
      if (!WheelVisible()) ShowWheel();
      break;
    case 2:
      if (WheelVisible()) {
        HideWheel();
        RestoreFocus();
      }
      break;
    case 3:
    case 4: {
      const std::size_t n = st.config.wheels.size();
      if (WheelVisible() && n > 1) {
        SetCurrentWheelIndex((st.config.currentWheel + (code == 3 ? 1 : n - 1)) % n);
        overlay::WheelListChanged();
      }
      break;
    }
    case 7:
      // Hidden, this is a click at the real cursor, which belongs to the
      // click grid's commands.
      if (WheelVisible()) platform::PostEngineMessage(WM_OVL_WHEELCLICK);
      break;
    case 13:
      if (WheelVisible()) {
        HideWheel();
        RestoreFocus();
      }
      platform::OpenOnScreenKeyboard();
      break;
    case 17:
      if (WheelVisible()) HideWheel();
      if (overlay::Hooks().startPhoneMirror) overlay::Hooks().startPhoneMirror();
      break;
    case 16:
      ReleaseAll();
      break;
    default:
      // The grid, page elements, speech and phone commands belong to their
      // own subsystems.
      break;
  }
}

class MainWindow final : public platform::EngineEvents {
 public:
  void OnMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    switch (msg) {
      case kWmHotkey:
        OnHotkey(static_cast<int>(wParam));
        break;
      case WM_OVL_RUNFIELD:
        RunFieldByIndex(wParam, lParam);
        break;
      case WM_OVL_SELECTWHEEL:
        if (wParam < State().config.wheels.size()) {
          SetCurrentWheelIndex(wParam);
          overlay::WheelListChanged();
        }
        break;
      case WM_OVL_COMMAND:
        RunEngineCommand(wParam);
        break;
      case WM_OVL_WHEELCLICK:
        overlay::OnWheelClick();
        break;
      case WM_OVL_HELDKEYS:
        overlay::UpdateHeldKeysBar();
        break;
      case WM_OVL_TOAST: {
        // Heap text handed over by the poster; the receiver frees it.
        std::unique_ptr<std::u16string> text(reinterpret_cast<std::u16string*>(lParam));
        if (text) overlay::ShowToast(*text);
        break;
      }
      case WM_OVL_SCHEME: {
        // Heap name handed over by the poster; freed here in every case.
        std::unique_ptr<std::u16string> name(reinterpret_cast<std::u16string*>(lParam));
        if (name) mapping::LoadScheme(State().dir, *name);
        break;
      }
      case WM_OVL_RUNCOMMAND:
        voice::RunGlobalAction(wParam);
        break;
      case WM_OVL_REHOOK:
        mapping::UpdateCapture();
        break;
      default:
        break;
    }
  }

  void OnTimer(std::uint32_t id) override {
    switch (id) {
      case kTimerWheelTick:
        overlay::OnWheelTick();
        break;
      case kTimerPadToggle:
        overlay::OnPadToggleTick();
        break;
      case kTimerLauncher:
        overlay::OnLauncherTick();
        break;
      case kTimerToast:
        overlay::OnToastTimer();
        break;
      case kTimerMinimiseCheck:
        overlay::OnMinimiseCheck();
        break;
      case kTimerPadRules:
        mapping::PadPollTick();
        break;
      case kTimerGestures:
        mapping::GestureTick();
        break;
      default:
        break;
    }
  }

  void OnRawMouse(int dx, int dy, bool leftDown) override { overlay::OnRawMouse(dx, dy, leftDown); }

  bool OnCapturedInput(std::uint32_t code, bool down) override {
    // The wheel takes the keyboard and mouse while it is shown.
    if (WheelVisible()) return false;
    return mapping::DispatchGlobalInput(code, down);
  }

  void OnDeviceInput(const platform::DeviceInput& input) override {
    if (input.kind == platform::DeviceKind::Mouse && WheelVisible()) return;
    mapping::OnDeviceEvent(input);
  }

  void OnCopyData(std::uintptr_t tag, const void* data, std::size_t bytes) override {
    if (tag == kCopyDataActivate) {
      EngineActivateFromCopyData(data, bytes);
    } else if (tag == kCopyDataQuit && State().quitOnCopyData) {
      platform::QuitEventLoop();
    }
  }

  void OnHotkey(int id) override {
    if (id == 1) ToggleWheel();
  }
};

MainWindow g_mainWindow;

}  // namespace

bool EngineStart() {
  auto& st = State();
  if (st.started) return true;
  st.started = true;
  st.dir = platform::ProgramDirectory();
  // A host that returns from main without stopping the engine still
  // stops the recogniser thread before the statics it uses go away.
  std::atexit([] { voice::ShutdownVoice(); });
  Services().findWheel = FindWheelByName;
  Services().toggleMapRule = [](const std::u16string& src, const KeySpec& target) {
    mapping::SetGlobalRule(src, target);
  };
  LoadSettings();
  platform::StartEventQueue(&g_mainWindow);
  overlay::Start();
  mapping::UpdateCapture();
  mapping::Hooks().schemesChanged = [] {
    voice::BuildGlobalVoiceActions();
    voice::BuildPhraseTable(CurrentWheels());
  };
  voice::BuildPhraseTable(CurrentWheels());
  if (CurrentSettings().voiceEnabled) voice::StartRecogniser();
  st.running = true;
  return true;
}

int EngineStop() {
  auto& st = State();
  if (!st.running) return 0;
  voice::ShutdownVoice();
  mapping::StopMapping();
  overlay::Stop();
  st.running = false;
  return 1;
}

bool EngineRunning() {
  return State().running;
}

void EngineReload() {
  if (!State().running) return;
  LoadSettings();
  overlay::Reload();
  voice::BuildPhraseTable(CurrentWheels());
  voice::ApplyVoiceSettings();
}

bool EngineActivateWheelFile(const std::filesystem::path& path) {
  WheelList wheels;
  LoadWheelFile(path, wheels, kWheelFieldLimit);
  if (wheels.empty()) return false;  // the reader keeps only wheels with fields
  InstallWheels(std::move(wheels));
  overlay::WheelListChanged();
  // Field phrases name wheels and fields by index: they follow the list.
  voice::BuildPhraseTable(CurrentWheels());
  return true;
}

bool EngineActivateFromCopyData(const void* data, std::size_t bytes) {
  // A UTF-16 path: at least one unit, and whole units only.
  if (!data || bytes < 2 || bytes % 2 != 0) return false;
  std::u16string path(bytes / 2, u'\0');
  std::memcpy(path.data(), data, bytes);
  while (!path.empty() && path.back() == u'\0') path.pop_back();
  if (path.empty()) return false;
  return EngineActivateWheelFile(std::filesystem::path(path));
}

void ShowWheel() {
  overlay::ShowWheel();
}

void HideWheel() {
  if (overlay::WheelVisible()) overlay::HideWheel();
}

bool WheelVisible() {
  return overlay::WheelVisible();
}

void RememberFocus() {
  auto& f = State().focus;
  f.cursor = platform::CursorPos();
  f.window = platform::ForegroundWindow();
  f.pending = true;
}

void RestoreCursorOnly() {
  auto& f = State().focus;
  if (!f.pending) return;
  f.pending = false;
  platform::SetCursorPos(f.cursor);
}

void ToggleWheel() {
  if (!WheelVisible()) {
    ShowWheel();
  } else {
    HideWheel();
    RestoreFocus();
  }
}

void RestoreFocus() {
  auto& f = State().focus;
  if (!f.pending) return;
  f.pending = false;
  platform::SetCursorPos(f.cursor);
  if (f.window && platform::WindowExists(f.window) && platform::ForegroundWindow() != f.window)
    platform::BringToForeground(f.window);
}

const WheelList& CurrentWheels() {
  return State().config.wheels;
}
std::size_t CurrentWheelIndex() {
  return State().config.currentWheel;
}
const EngineSettings& CurrentSettings() {
  return State().config.settings;
}
const ToggleKey& CurrentToggleKey() {
  return State().config.toggle;
}
void SetCurrentWheelIndex(std::size_t index) {
  std::lock_guard lock(g_wheelsMutex);
  if (index < State().config.wheels.size()) State().config.currentWheel = index;
}
const std::filesystem::path& EngineDirectory() {
  return State().dir;
}

void RunFieldByIndex(std::uintptr_t wheel, std::intptr_t field) {
  WheelAction copy;
  {
    std::lock_guard lock(g_wheelsMutex);
    const auto& wheels = State().config.wheels;
    if (wheel >= wheels.size() || field < 0 ||
        static_cast<std::size_t>(field) >= wheels[wheel].fields.size())
      return;
    copy = wheels[wheel].fields[static_cast<std::size_t>(field)];
  }
  const bool wasVisible = WheelVisible();
  if (wasVisible) {
    HideWheel();
    RestoreFocus();
  }
  RunField(copy, wasVisible ? SendDelayMs() : 100);
}

std::u16string WheelsSnapshotJson() {
  auto escaped = [](std::u16string& out, const std::u16string& s) {
    for (char16_t c : s) {
      if (c == u'\n') {
        out += u"\\n";
        continue;
      }
      if (c == u'"' || c == u'\\') out += u'\\';
      out += c;
    }
  };
  std::u16string out = u"{\"wheels\":[";
  std::lock_guard lock(g_wheelsMutex);
  const auto& wheels = State().config.wheels;
  for (std::size_t w = 0; w < wheels.size(); ++w) {
    if (w) out += u',';
    out += u"{\"name\":\"";
    escaped(out, wheels[w].name);
    out += u"\",\"actions\":[";
    const auto& fields = wheels[w].fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i) out += u',';
      out += u"{\"name\":\"";
      escaped(out, fields[i].name);
      out += u"\",\"icon\":\"";
      escaped(out, fields[i].icon);
      out += u"\",\"color\":\"";
      if (fields[i].hasColor) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "#%02X%02X%02X", fields[i].color.r, fields[i].color.g,
                      fields[i].color.b);
        out += Utf8ToWide(buf);
      }
      out += u"\"}";
    }
    out += u"]}";
  }
  out += u"]}";
  return out;
}

void SetQuitOnCopyDataRequest(bool enabled) {
  State().quitOnCopyData = enabled;
}

}  // namespace velmor
