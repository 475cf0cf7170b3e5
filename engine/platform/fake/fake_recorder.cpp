#include <atomic>
#include <cstring>

#include "engine/platform/fake/fake_platform.h"
#include "engine/platform/fake/fake_state.h"

namespace velmor::platform::fake {

namespace {
std::atomic<std::int64_t> g_now{0};
}  // namespace

std::int64_t FakeClock::NowMs() {
  return g_now.load();
}
void FakeClock::SleepMs(std::int64_t ms) {
  if (ms > 0) g_now.fetch_add(ms);
}
void FakeClock::Set(std::int64_t ms) {
  g_now.store(ms);
}

FakeClock& Clock() {
  static FakeClock clock;
  return clock;
}

State& GetState() {
  static State state;
  return state;
}

void RecordLocked(State& s, const std::string& text) {
  s.events.push_back("@" + std::to_string(g_now.load()) + " " + text);
}

void Reset() {
  State& s = GetState();
  std::lock_guard lock(s.mutex);
  g_now.store(0);
  s.events.clear();
  std::memset(s.keys, 0, sizeof s.keys);
  s.cursor = {};
  s.windows.clear();
  s.foreground = 0;
  s.queue.clear();
  s.timers.clear();
  s.quit = false;
  for (auto& o : s.overlays) {
    const bool created = o.created;  // windows live as long as the process
    o = {};
    o.created = created;
  }
  s.windowInfo.clear();
  s.monitors = {Rect{0, 0, 1920, 1080}};
  s.fullScreen = false;
  s.hotkeyTaken = false;
  s.hotkeyRegistered = false;
  s.toggleHookButton = kNoButton;
  s.toggleHookInstalled = false;
  s.blockingHook = false;
  s.blockingToggleButton = kNoButton;
  s.clipped = false;
  s.cursorsHidden = false;
  s.padLibrary = true;
  for (auto& p : s.pads) p = {};
  s.onScreenKeyboard = true;
  s.padLibraryLoads = 0;
  s.capturedKeys.clear();
  s.capturedButtons = 0;
  s.ownWindows.clear();
  s.devices.clear();
  SetEngineClock(&Clock());
}

std::vector<std::string> Events() {
  State& s = GetState();
  std::lock_guard lock(s.mutex);
  return s.events;
}

std::vector<std::string> Events(std::initializer_list<const char*> kinds) {
  std::vector<std::string> out;
  for (const auto& e : Events()) {
    auto space = e.find(' ');
    std::string rest = e.substr(space + 1);
    for (const char* k : kinds) {
      std::size_t n = std::strlen(k);
      if (rest.compare(0, n, k) == 0 && (rest.size() == n || rest[n] == ' ')) {
        out.push_back(e);
        break;
      }
    }
  }
  return out;
}

void ClearEvents() {
  State& s = GetState();
  std::lock_guard lock(s.mutex);
  s.events.clear();
}

}  // namespace velmor::platform::fake
