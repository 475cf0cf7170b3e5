#pragma once

// The engine's event queue on the host's GUI thread: posted messages and
// numbered timers, delivered in order, one at a time. Win32: the hidden main
// window "RadialOverlayMain" and SetTimer. X11: a queue the host's loop
// polls through a file descriptor. Fake: a queue the test pumps.

#include <cstdint>
#include <string>

namespace velmor::platform {

enum class DeviceKind : int { Keyboard = 0, Mouse = 1, Pad = 2 };

// A key, mouse-button or game-device button change of one device.
struct DeviceInput {
  std::u16string device;  // interface name, lower-cased; "" when unknown (injected input)
  DeviceKind kind = DeviceKind::Keyboard;
  std::uint32_t index = 0;  // virtual-key code, mouse button 0..4, or pad button 1..64
  bool down = false;
};

// What the queue delivers to; the engine implements it. Every call happens on
// the GUI thread.
class EngineEvents {
 public:
  virtual ~EngineEvents() = default;
  virtual void OnMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual void OnTimer(std::uint32_t id) = 0;
  // A copy-data request from another process: its tag and payload bytes.
  virtual void OnCopyData(std::uintptr_t tag, const void* data, std::size_t bytes) = 0;
  // The hotkey of the given id fired (the toggle key is id 1).
  virtual void OnHotkey(int id) = 0;
  // Raw mouse input for the wheel window: relative motion in device counts,
  // and whether the left button went down in this report.
  virtual void OnRawMouse(int dx, int dy, bool leftDown) {
    (void)dx;
    (void)dy;
    (void)leftDown;
  }
  // A real key or mouse button from the input capture (input_capture.h);
  // true swallows it. Runs inside a hook: it must return at once.
  virtual bool OnCapturedInput(std::uint32_t code, bool down) {
    (void)code;
    (void)down;
    return false;
  }
  // A button change of one identified device (raw input).
  virtual void OnDeviceInput(const DeviceInput& input) { (void)input; }
};

// Creates the queue (Win32: registers the class and creates the hidden main
// window titled "Velmor") on the calling thread, which becomes the GUI thread.
bool StartEventQueue(EngineEvents* sink);

// Any thread. Messages keep their order; a heap payload in lParam belongs to
// the receiver.
void PostEngineMessage(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

// GUI thread. A timer fires every `periodMs` until killed; setting an id that
// is already set restarts it.
void SetEngineTimer(std::uint32_t id, std::uint32_t periodMs);
void KillEngineTimer(std::uint32_t id);

// For a host without a loop of its own (the headless engine host): runs the
// queue until QuitEventLoop is called or the process is asked to stop.
void RunEventLoop();
// Any thread; also safe from a signal or console-control handler.
void QuitEventLoop();

// Sends a copy-data request to the engine running in another process of this
// user (Win32: WM_COPYDATA to "RadialOverlayMain"/"Velmor"). False when no
// engine runs.
bool SendCopyDataToRunningEngine(std::uintptr_t tag, const void* data, std::size_t bytes);
// Posts a private message to the engine running in another process (Win32:
// PostMessage to its main window). False when no engine runs.
bool PostToRunningEngine(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace velmor::platform
