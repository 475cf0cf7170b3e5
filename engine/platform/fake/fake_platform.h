#pragma once

// Controls of the fake backend for tests: every answer the platform would
// give is set here, every effect is recorded as a readable line with its
// virtual time, and the event queue runs only when the test pumps it.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/clock.h"
#include "engine/platform/desktop.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/input_capture.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"

namespace velmor::platform::fake {

using LayoutFn = std::function<std::optional<std::uint8_t>(char16_t)>;

// Replaces the keyboard layout; an empty function restores the US layout.
void SetKeyboardLayout(LayoutFn layout);

// The directory ProgramDirectory() reports; empty restores the current
// working directory.
void SetProgramDirectory(std::filesystem::path dir);

// A virtual clock: sleeping moves the time on at once. Installed as the
// engine clock by Reset().
class FakeClock : public Clock {
 public:
  std::int64_t NowMs() override;
  void SleepMs(std::int64_t ms) override;
  void Set(std::int64_t ms);
};
FakeClock& Clock();

// Back to a clean state: time 0, no events, no keys down, empty queue and
// timers, cursor at 0,0, no windows; the fake clock becomes the engine clock.
void Reset();

// Every effect so far, one line each: "@250 key down vk=41 sc=1E",
// "@310 key up vk=26 sc=48 ext", "@0 mouse down x1", "@0 open notepad",
// "@0 cursor 10,20", "@0 foreground 7".
std::vector<std::string> Events();
// Only the lines that start with one of these words after the time stamp
// ("key", "mouse", "open", "cursor", "foreground", "post", "timer").
std::vector<std::string> Events(std::initializer_list<const char*> kinds);
void ClearEvents();

// Asynchronous key state. SendKey/SendMouseButton keep it up to date; tests
// may set keys down as the user would hold them.
void SetKeyDown(int vk, bool down);

// Windows and the cursor.
void SetCursor(Point p);
void AddWindow(WindowId w);
void RemoveWindow(WindowId w);
void SetForeground(WindowId w);

// The event queue. Posted messages are delivered by PumpMessages, in order;
// AdvanceTime moves the clock on and fires due timers (and the messages they
// post) in time order. Both return the number of deliveries.
std::size_t PumpMessages();
std::size_t AdvanceTime(std::int64_t ms);
// Messages posted and not yet delivered.
std::size_t PendingMessages();
struct QueuedMessage {
  std::uint32_t msg;
  std::uintptr_t wParam;
  std::intptr_t lParam;  // a heap payload still belongs to the queue
};
std::vector<QueuedMessage> QueuedMessages();
// Whether a timer is set, and its period.
std::optional<std::uint32_t> TimerPeriod(std::uint32_t id);
// The receiver StartEventQueue installed (Reset keeps it: the engine starts
// once per process).
EngineEvents* CurrentSink();
// Delivers a copy-data request as another process would send it.
void DeliverCopyData(std::uintptr_t tag, const void* data, std::size_t bytes);

// Overlay windows: what was last shown, where, and how often it was drawn.
struct OverlaySnapshot {
  bool created = false;
  bool shown = false;
  Point position;
  int width = 0, height = 0;
  int draws = 0;
};
OverlaySnapshot Overlay(OverlayKind kind);
ArgbImage OverlayImage(OverlayKind kind);

// Screens: the primary first. Reset leaves one 1920x1080 monitor at 0,0.
void SetMonitors(std::vector<Rect> monitors);
void SetFullScreenProgram(bool running);

// Other programs' windows as the minimise button sees them (AddWindow is
// also called); and a window being minimised by its program.
void SetWindowInfo(WindowId w, std::uint32_t process, bool minimisable);
void SetWindowMinimised(WindowId w, bool minimised);

// Overlay input state as the backend holds it.
struct InputSnapshot {
  bool hotkeyRegistered = false;
  bool toggleHook = false;
  int toggleHookButton = kNoButton;
  bool blockingHook = false;
  int blockingToggleButton = kNoButton;
  bool clipped = false;
  bool cursorsHidden = false;
  bool rawRegistered = false;
};
InputSnapshot Input();
// The next hotkey registration fails, as when another program has the chord.
void SetHotkeyTaken(bool taken);
void SetPadLibrary(bool present);
void SetPad(int index, PadState state);
void SetOnScreenKeyboard(bool installed);
// How often LoadPadLibrary was called since Reset.
int PadLibraryLoads();

// Input capture. A real key or button arriving as the Win32 hooks see it:
// delivered to the engine only while the capture of its kind is installed
// (the keyboard capture sees every key once installed); true when the
// engine swallowed it.
bool CaptureInput(std::uint32_t code, bool down);
std::vector<std::uint16_t> CapturedKeys();
std::uint32_t CapturedButtons();
// A raw-input event of one device, delivered at once.
void DeliverDeviceInput(const DeviceInput& input);
void SetInputDevices(std::vector<InputDeviceInfo> devices);
// Windows that belong to this process, for ForegroundIsOwnProcess (the
// overlay's own windows always do).
void SetOwnWindow(WindowId w, bool own);

// Run-time libraries: a path (as LoadSharedLibrary is given it) and the
// function that finds its symbols; an empty function removes it.
using SymbolTable = std::function<void*(const char*)>;
void RegisterLibrary(const std::u16string& path, SymbolTable symbols);
// Every load attempt since ResetVoice, in order: the path, with " beside"
// for loads that search the library's own folder first.
std::vector<std::u16string> LibraryLoads();

// Audio devices and capture. Queued blocks are handed out by the capture's
// waits (at most four per wait); a wait with none queued moves the fake
// clock on by its timeout.
void SetAudioDevices(std::vector<std::u16string> inputs, std::vector<std::u16string> outputs = {});
void FailAudioOpens(int count);  // the next `count` opens fail
void QueueAudio(std::size_t blocks, std::size_t bytes = 3200);
// Called on the capturing thread at the start of every wait.
void SetAudioWaitHook(std::function<void()> hook);
struct AudioSnapshot {
  int opens = 0;           // open attempts since ResetVoice
  bool open = false;       // a capture exists now
  std::u16string device;   // the device opened; "" for the default
  std::size_t queued = 0;  // blocks not yet taken
};
AudioSnapshot Audio();
// Libraries, devices and capture back to nothing (Reset leaves them: a
// recogniser thread may still hold them).
void ResetVoice();

}  // namespace velmor::platform::fake
