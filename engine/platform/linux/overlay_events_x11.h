#pragma once

// X events that belong to the overlay (its grabs and its raw mouse input),
// read on the GUI thread by the event queue and turned into what the
// engine's sink gets.

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

#include "engine/platform/event_queue.h"

namespace velmor::platform::linux_backend {

struct OverlayAction {
  // kCaptured and kDevice are the input capture's (input_capture_x11.h).
  enum class Kind { kHotkey, kMessage, kRawMouse, kCaptured, kDevice };
  enum class Frozen { kNone, kKeyboard, kPointer };
  Kind kind = Kind::kHotkey;
  std::uint32_t msg = 0;  // kMessage; kCaptured: the OnCapturedInput code
  int dx = 0, dy = 0;     // kRawMouse
  bool leftDown = false;  // kRawMouse; kCaptured: down
  // kCaptured: the device the grab holds frozen until the engine answers.
  Frozen frozen = Frozen::kNone;
  DeviceInput device{};  // kDevice
};

// Under the connection's session: takes every event the connection has
// (without waiting) and appends the actions they make. The actions are
// delivered after the session ends, since the sink calls back into the
// backend.
void CollectOverlayEvents(Display* dpy, int xi2Opcode, std::vector<OverlayAction>& out);

}  // namespace velmor::platform::linux_backend
