#include "engine/platform/single_instance.h"

#include <windows.h>

namespace velmor::platform {

namespace {
UINT g_showMessage = 0;
// Owned for the process's life: the mutex ends with the process, so a crash
// never leaves it behind.
HANDLE g_mutex = nullptr;
}  // namespace

InstanceClaim ClaimSingleInstance(std::uint32_t waitMs) {
  g_showMessage = RegisterWindowMessageW(L"VelmorShowMainWindow");
  HANDLE mutex = CreateMutexW(nullptr, TRUE, L"VelmorEngineRunning");
  const DWORD error = GetLastError();
  if (!mutex) {
    // The name exists but is not ours to open: another instance runs under
    // rights we do not have.
    return error == ERROR_ACCESS_DENIED ? InstanceClaim::AlreadyRunning : InstanceClaim::First;
  }
  if (error != ERROR_ALREADY_EXISTS) {
    g_mutex = mutex;
    return InstanceClaim::First;
  }
  if (waitMs > 0) {
    // An owner that ends without releasing abandons the mutex, which hands
    // it to us just the same.
    const DWORD r = WaitForSingleObject(mutex, waitMs);
    if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED) {
      g_mutex = mutex;
      return InstanceClaim::First;
    }
  }
  CloseHandle(mutex);
  return InstanceClaim::AlreadyRunning;
}

void RequestShowMainWindow() {
  UINT id = g_showMessage ? g_showMessage : RegisterWindowMessageW(L"VelmorShowMainWindow");
  if (id) PostMessageW(HWND_BROADCAST, id, 0, 0);
}

bool IsShowMainWindowMessage(const void* nativeMessage) {
  if (!nativeMessage || g_showMessage == 0) return false;
  return static_cast<const MSG*>(nativeMessage)->message == g_showMessage;
}

int ShowRequestFd() {
  return -1;
}

bool TakeShowRequests() {
  return false;
}

}  // namespace velmor::platform
