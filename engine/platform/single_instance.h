#pragma once

// One running Velmor per user. Win32: the named mutex "VelmorEngineRunning"
// (created owned, never released, gone with the process) and the registered
// window message "VelmorShowMainWindow", broadcast to all top-level windows
// by a second start. Linux: a lock file and a local socket in the user's
// runtime folder ($XDG_RUNTIME_DIR, else a private folder under /tmp).
//
// All of it runs before the GUI exists, so nothing here needs Qt.

#include <cstdint>

namespace velmor::platform {

enum class InstanceClaim { First, AlreadyRunning };

// Claims the single instance for the rest of the process's life. With
// `waitMs` above 0 a held claim is waited for that long before the start
// counts as a second one: a program restarted by its predecessor starts
// while the predecessor is still ending.
InstanceClaim ClaimSingleInstance(std::uint32_t waitMs = 0);

// A second start: asks the running instance to show its main window.
void RequestShowMainWindow();

// The first instance learns of a request in one of two ways, per backend:
// - as a native window message (Win32): IsShowMainWindowMessage is true for
//   it; the host's native event filter asks;
// - on a descriptor (Linux): ShowRequestFd is readable, and
//   TakeShowRequests drains it and says whether a request came.
bool IsShowMainWindowMessage(const void* nativeMessage);
int ShowRequestFd();  // -1 where requests arrive as messages
bool TakeShowRequests();

}  // namespace velmor::platform
