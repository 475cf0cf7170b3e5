#pragma once

// State shared by the fake backend's files. One lock guards it all: the fake
// favours exactness over speed.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/platform/desktop.h"
#include "engine/platform/event_queue.h"

namespace velmor::platform::fake {

struct PostedMessage {
  std::uint32_t msg;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

struct Timer {
  std::uint32_t period;
  std::int64_t due;
  std::uint64_t order;  // timers due at the same moment fire in the order they were set
};

struct State {
  std::mutex mutex;
  std::vector<std::string> events;
  bool keys[256] = {};
  Point cursor;
  std::set<WindowId> windows;
  WindowId foreground = 0;
  EngineEvents* sink = nullptr;
  std::vector<PostedMessage> queue;
  std::map<std::uint32_t, Timer> timers;
  std::uint64_t timerOrder = 0;
  bool quit = false;
};

State& GetState();

// Appends "@<now> <text>" to the event log; the caller holds the lock.
void RecordLocked(State& s, const std::string& text);

}  // namespace velmor::platform::fake
