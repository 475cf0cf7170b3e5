#include "engine/mapping/mapping.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "engine/core/clock.h"
#include "engine/core/engine_messages.h"
#include "engine/core/json_reader.h"
#include "engine/core/step_runner.h"
#include "engine/core/text.h"
#include "engine/mapping/schemes.h"
#include "engine/platform/input_capture.h"
#include "engine/platform/overlay_input.h"

namespace velmor::mapping {

namespace {

// Three locks, never held together; targets are pressed after leaving them.
std::mutex g_globalLock;
std::mutex g_deviceLock;
std::mutex g_gestureLock;

GlobalRuleTable g_global;       // under g_globalLock
DeviceRuleList g_device;        // under g_deviceLock
GestureTable g_gestures;        // under g_gestureLock
bool g_gestureTimerOn = false;  // under g_gestureLock
// The engine's GUI thread, which owns its timers; taken at every capture
// update, which runs there.
std::atomic<std::thread::id> g_guiThread{};

std::atomic<bool> g_disabled{false};
std::atomic<int> g_mapDouble{300};
std::atomic<int> g_mapHold{400};

struct Learned {
  std::u16string device, display, source;
};
std::atomic<bool> g_learnArmed{false};
Learned g_learned;  // under g_deviceLock

// Pad polling (GUI thread).
enum class PadLibrary { Unknown, Present, Absent };
PadLibrary g_padLibrary = PadLibrary::Unknown;
bool g_padPolling = false;
std::uint32_t g_padMask = 0;

MappingHooks g_hooks;

std::uint32_t Now() {
  return static_cast<std::uint32_t>(EngineClock().NowMs());
}

void Perform(const std::vector<GestureAction>& actions) {
  for (const auto& a : actions) PressKey(a.target, a.down);
}

void StartGestureTimerLocked(bool deadlineSet) {
  if (!deadlineSet || g_gestureTimerOn) return;
  if (std::this_thread::get_id() == g_guiThread.load()) {
    g_gestureTimerOn = true;
    platform::SetEngineTimer(kTimerGestures, 25);
  } else {
    // Timers belong to the GUI thread (the adaptive controller's reader
    // dispatches from its own): the capture update there starts it.
    platform::PostEngineMessage(WM_OVL_REHOOK);
  }
}

void Resolve(const std::u16string& key, const RuleSet& rules, bool down) {
  GestureResult r;
  {
    std::lock_guard lock(g_gestureLock);
    r = g_gestures.Resolve(key, rules, down, Now(), CurrentGestureTiming());
    StartGestureTimerLocked(r.deadlineSet);
  }
  Perform(r.actions);
}

KeySpec ReplayTarget(std::uint32_t code) {
  if (code < kSourceMouse) return KeyForVk(static_cast<std::uint16_t>(code));
  KeySpec k;
  if (code < kSourcePad && code - kSourceMouse <= 4) {
    k.isMouse = true;
    k.mouseButton = static_cast<int>(code - kSourceMouse);
    k.valid = true;
    k.name = MouseSourceName(code - kSourceMouse);
  }
  return k;
}

std::u16string HexKey(std::uint32_t code) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "g|%08X", static_cast<unsigned>(code));
  return Utf8ToWide(buf);
}

char16_t KindLetter(SourceKind k) {
  return k == SourceKind::Keyboard ? u'k' : k == SourceKind::Mouse ? u'm' : u'b';
}

}  // namespace

MappingHooks& Hooks() {
  return g_hooks;
}

void ClearGestureStates(std::u16string_view prefix) {
  std::vector<GestureAction> releases;
  {
    std::lock_guard lock(g_gestureLock);
    releases = g_gestures.Clear(prefix);
  }
  Perform(releases);
}

bool SetGlobalRule(std::u16string_view src, const RuleTarget& target) {
  if (!ParseGlobalSource(src)) return false;
  ClearGestureStates(u"g|");
  {
    std::lock_guard lock(g_globalLock);
    ApplyGlobalRule(g_global, src, target);
  }
  platform::PostEngineMessage(WM_OVL_REHOOK);
  return true;
}

void LoadMapRules(const std::filesystem::path& dir, LoadReport* report) {
  // The rules apply in file order as SetGlobalRule would apply them one by
  // one, but the table is swapped in whole and the capture follows once. A
  // missing or unreadable file gives an empty table.
  GlobalRuleTable fresh;
  if (const auto text = ReadTextFile(dir / "map.json"))
    for (const auto& rule : ReadGlobalRules(*text, report, "map.json"))
      ApplyGlobalRule(fresh, rule.src, rule.target);
  ClearGestureStates(u"g|");
  {
    std::lock_guard lock(g_globalLock);
    g_global = std::move(fresh);
  }
  platform::PostEngineMessage(WM_OVL_REHOOK);
}

void LoadDeviceRules(const std::filesystem::path& dir, LoadReport* report) {
  // Read before taking the lock: the file may be slow.
  const auto text = ReadTextFile(dir / "devmap.json");
  DeviceRuleList fresh = text ? ReadDeviceRules(*text, report, "devmap.json") : DeviceRuleList{};
  ClearGestureStates(u"d|");
  std::lock_guard lock(g_deviceLock);
  g_device = std::move(fresh);
}

std::size_t GlobalRuleCount() {
  std::lock_guard lock(g_globalLock);
  return g_global.size();
}

std::size_t DeviceRuleCount() {
  std::lock_guard lock(g_deviceLock);
  return g_device.size();
}

bool DispatchGlobalInput(std::uint32_t code, bool down) {
  if (g_disabled.load()) return false;
  if (code >= kSourceMouse && code < kSourcePad && platform::ForegroundIsOwnProcess()) return false;
  RuleSet rules;
  {
    std::lock_guard lock(g_globalLock);
    auto copy = [&](Gesture g, KeySpec& out) {
      auto it = g_global.find(WithGesture(code, g));
      if (it != g_global.end()) out = it->second;
    };
    copy(Gesture::Single, rules.single);
    copy(Gesture::Double, rules.dbl);
    copy(Gesture::Hold, rules.hold);
  }
  if (!TargetSet(rules.single) && !TargetSet(rules.dbl) && !TargetSet(rules.hold)) return false;
  rules.replay = ReplayTarget(code);
  Resolve(HexKey(code), rules, down);
  return true;
}

void DispatchDeviceInput(const std::u16string& device, const std::u16string& display,
                         const std::u16string& source, SourceKind kind, std::uint32_t index,
                         bool down) {
  if (g_learnArmed.load()) {
    // Only a press is learned, and only one: the exchange lets exactly one
    // of two devices pressed at once through.
    if (down && g_learnArmed.exchange(false)) {
      std::lock_guard lock(g_deviceLock);
      g_learned = {device, display, source};
    }
    return;
  }
  if (g_disabled.load() || device.empty()) return;
  const std::u16string key = NormalizeDeviceKey(device);
  RuleSet rules;
  bool any = false;
  {
    std::lock_guard lock(g_deviceLock);
    for (const auto& r : g_device) {
      if (r.kind != kind || r.index != index || r.device != key) continue;
      (r.gesture == Gesture::Single   ? rules.single
       : r.gesture == Gesture::Double ? rules.dbl
                                      : rules.hold) = r.target;
      any = true;
    }
  }
  if (!any) return;
  std::u16string gestureKey = u"d|" + key + u"|";
  gestureKey += KindLetter(kind);
  gestureKey += Utf8ToWide(std::to_string(index));
  Resolve(gestureKey, rules, down);
}

void OnDeviceEvent(const platform::DeviceInput& input) {
  const auto kind = static_cast<SourceKind>(static_cast<int>(input.kind));
  DispatchDeviceInput(input.device, DeviceDisplayName(kind, input.device),
                      SourceName(kind, input.index), kind, input.index, input.down);
}

void GestureTick() {
  GestureResult r;
  {
    std::lock_guard lock(g_gestureLock);
    r = g_gestures.Tick(Now(), CurrentGestureTiming());
    if (!g_gestures.AnyDeadline() && g_gestureTimerOn) {
      g_gestureTimerOn = false;
      platform::KillEngineTimer(kTimerGestures);
    }
  }
  Perform(r.actions);
}

void SetMappingEnabled(bool enabled) {
  const bool wasDisabled = g_disabled.exchange(!enabled);
  if (enabled || wasDisabled) return;
  // Sources held now will have their releases ignored, so what their
  // gestures hold is let go here rather than left down.
  ClearGestureStates(u"g|");
  ClearGestureStates(u"d|");
  ReleaseAll();
}

bool MappingEnabled() {
  return !g_disabled.load();
}

void SetGestureTiming(int mapDoubleMs, int mapHoldMs) {
  g_mapDouble = mapDoubleMs;
  g_mapHold = mapHoldMs;
}

GestureTiming CurrentGestureTiming() {
  return {g_mapDouble.load(), g_mapHold.load(), KeyHoldMs()};
}

void UpdateCapture() {
  g_guiThread = std::this_thread::get_id();
  {
    std::lock_guard lock(g_gestureLock);
    StartGestureTimerLocked(g_gestures.AnyDeadline());
  }
  std::vector<std::uint16_t> keys;
  std::uint32_t buttons = 0;
  bool pad = false;
  {
    std::lock_guard lock(g_globalLock);
    std::set<std::uint16_t> seen;
    for (const auto& [id, target] : g_global) {
      const std::uint32_t code = WithoutGesture(id);
      if (code & kSourcePad) {
        pad = true;
      } else if (code & kSourceMouse) {
        buttons |= 1u << ((code & kSourceCodeBits) & 31);
      } else if (seen.insert(static_cast<std::uint16_t>(code)).second) {
        keys.push_back(static_cast<std::uint16_t>(code));
      }
    }
  }
  platform::SetKeyboardCapture(keys);
  platform::SetMouseCapture(buttons);
  if (pad && g_padLibrary == PadLibrary::Unknown)
    g_padLibrary = platform::LoadPadLibrary() ? PadLibrary::Present : PadLibrary::Absent;
  const bool poll = pad && g_padLibrary == PadLibrary::Present;
  if (poll && !g_padPolling) {
    platform::SetEngineTimer(kTimerPadRules, 40);
  } else if (!poll && g_padPolling) {
    platform::KillEngineTimer(kTimerPadRules);
  }
  g_padPolling = poll;
}

void DispatchPadMaskChange(std::uint32_t oldMask, std::uint32_t newMask) {
  std::vector<std::pair<std::uint32_t, bool>> changes;
  {
    std::lock_guard lock(g_globalLock);
    std::set<std::uint32_t> seen;
    for (const auto& [id, target] : g_global) {
      const std::uint32_t code = WithoutGesture(id);
      if (!(code & kSourcePad)) continue;
      const std::uint32_t button = code & kSourceCodeBits;
      if (!seen.insert(button).second) continue;
      const bool was = (oldMask & button) == button;
      const bool now = (newMask & button) == button;
      if (was != now) changes.emplace_back(button, now);
    }
  }
  for (const auto& [button, down] : changes) DispatchGlobalInput(kSourcePad + button, down);
}

void PadPollTick() {
  std::uint32_t mask = 0;
  for (int i = 0; i < 4; ++i) {
    const platform::PadState s = platform::ReadPad(i);
    if (!s.connected) continue;
    mask |= s.buttons;
    if (s.leftTrigger > 120) mask |= 0x10000;
    if (s.rightTrigger > 120) mask |= 0x20000;
  }
  if (mask == g_padMask) return;
  DispatchPadMaskChange(g_padMask, mask);
  g_padMask = mask;
}

void LoadScheme(const std::filesystem::path& dir, std::u16string_view name) {
  const SchemeLoad r = CopySchemeToLive(dir, name);
  if (r == SchemeLoad::NoSuchScheme) return;
  LoadMapRules(dir);
  LoadDeviceRules(dir);
  UpdateCapture();
  // A scheme that did not fully arrive is not named as the active one.
  if (r == SchemeLoad::Loaded) WriteActiveScheme(dir, SchemeFolderName(name));
}

bool DevLearnStart() {
  {
    std::lock_guard lock(g_deviceLock);
    g_learned = {};
  }
  return g_learnArmed.exchange(true);
}

std::u16string DevLearned() {
  std::lock_guard lock(g_deviceLock);
  if (g_learned.device.empty()) return {};
  return g_learned.device + u"\t" + g_learned.display + u"\t" + g_learned.source;
}

std::u16string InputDeviceList() {
  std::u16string out = u"global\tGlobalne (wszystkie klawiatury i myszy)\tglobal";
  if (g_hooks.xacConnected && g_hooks.xacConnected())
    out += u"\nxac\tXbox Adaptive Controller (przejęty)\tpad";
  const bool vpad = g_hooks.virtualPadConnected && g_hooks.virtualPadConnected();
  for (const auto& d : platform::ListInputDevices()) {
    const std::u16string name = ToLower(d.name);
    if (name.find(u"root#") != std::u16string::npos) continue;
    if (vpad && name.size() > 16 && name.find(u"vid_045e&pid_028e") != std::u16string::npos)
      continue;
    const auto kind = static_cast<SourceKind>(static_cast<int>(d.kind));
    out += u"\n" + name + u"\t" + DeviceDisplayName(kind, name) + u"\t" +
           (kind == SourceKind::Mouse      ? u"mouse"
            : kind == SourceKind::Keyboard ? u"kbd"
                                           : u"pad");
  }
  return out;
}

void StopMapping() {
  ClearGestureStates(u"g|");
  ClearGestureStates(u"d|");
  platform::SetKeyboardCapture({});
  platform::SetMouseCapture(0);
  platform::KillEngineTimer(kTimerPadRules);
  g_padPolling = false;
  g_padMask = 0;
  g_padLibrary = PadLibrary::Unknown;
  std::lock_guard lock(g_gestureLock);
  if (g_gestureTimerOn) platform::KillEngineTimer(kTimerGestures);
  g_gestureTimerOn = false;
}

}  // namespace velmor::mapping
