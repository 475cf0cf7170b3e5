#pragma once

// What the rest of the Win32 backend needs from the event queue: the hidden
// main window that hotkeys and hook messages go to, the sink the overlay
// windows report to, and the module that owns the window classes.

#include <windows.h>

#include "engine/platform/event_queue.h"

namespace velmor::platform::win32 {

// Null before StartEventQueue. Any thread.
HWND EngineMainWindow();
// Null before StartEventQueue. GUI thread.
EngineEvents* EngineSink();
// The executable or DLL this backend is linked into: window classes and hooks
// must name the module their procedures live in.
HINSTANCE EngineModule();

}  // namespace velmor::platform::win32
