#include <csignal>

#include "engine/platform/event_queue.h"
#include "tools/velmor-engine/host_signals.h"

namespace velmor::host {

namespace {
void OnSignal(int) {
  platform::QuitEventLoop();
}
}  // namespace

void InstallStopHandlers() {
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
}

}  // namespace velmor::host
