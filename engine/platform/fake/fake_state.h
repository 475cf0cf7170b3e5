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
#include "engine/platform/input_capture.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"

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

struct OverlayWindowState {
  bool created = false;
  bool shown = false;
  Point position;
  ArgbImage image;
  int draws = 0;  // ShowOverlay calls
};

struct WindowInfo {
  std::uint32_t process = 0;
  bool minimisable = false;
  bool minimised = false;
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

  // Overlay windows and overlay input.
  OverlayWindowState overlays[4];
  std::map<WindowId, WindowInfo> windowInfo;
  std::vector<Rect> monitors{Rect{0, 0, 1920, 1080}};  // primary first
  bool fullScreen = false;
  bool hotkeyTaken = false;
  bool hotkeyRegistered = false;
  int toggleHookButton = kNoButton;  // kNoButton: no toggle hook
  bool toggleHookInstalled = false;
  bool blockingHook = false;
  int blockingToggleButton = kNoButton;
  bool clipped = false;
  bool cursorsHidden = false;
  bool rawRegistered = false;
  bool padLibrary = true;
  PadState pads[4];
  bool onScreenKeyboard = true;
  int padLibraryLoads = 0;

  // Input capture for the mapping rules.
  std::vector<std::uint16_t> capturedKeys;
  std::uint32_t capturedButtons = 0;
  std::set<WindowId> ownWindows;
  std::vector<InputDeviceInfo> devices;
};

State& GetState();

// Appends "@<now> <text>" to the event log; the caller holds the lock.
void RecordLocked(State& s, const std::string& text);

}  // namespace velmor::platform::fake
