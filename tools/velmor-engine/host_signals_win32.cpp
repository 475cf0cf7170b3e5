#include <windows.h>

#include "engine/platform/event_queue.h"
#include "tools/velmor-engine/host_signals.h"

namespace velmor::host {

namespace {
BOOL WINAPI OnConsoleEvent(DWORD) {
  platform::QuitEventLoop();
  return TRUE;
}
}  // namespace

void InstallStopHandlers() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

}  // namespace velmor::host
