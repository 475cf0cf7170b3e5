// velmor-engine: the engine without the GUI. Starts the engine in the folder
// of the executable and runs its event loop until Ctrl+C, a close request or
// a quit request from another velmor-engine.
//
//   velmor-engine                     run
//   velmor-engine --activate FILE     activate a wheel file in the running engine
//   velmor-engine --run-field W F     run field F of wheel W in the running engine
//   velmor-engine --quit              stop the running engine
//
// While running, every change of the voice state is printed as one line,
// "velmor-engine: voice: STATUS", so a user can see why voice is not
// listening.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/engine.h"
#include "engine/core/engine_messages.h"
#include "engine/core/messages.h"
#include "engine/core/overlay_api.h"
#include "engine/core/step_runner.h"
#include "engine/core/text.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/program_dir.h"
#include "engine/voice/voice.h"
#include "tools/common/command_line.h"
#include "tools/velmor-engine/host_signals.h"

namespace {

constexpr const char* kUsage =
    "usage: velmor-engine [--activate FILE | --run-field WHEEL FIELD | --quit]\n";

int NoEngine() {
  std::fputs("velmor-engine: no engine is running\n", stderr);
  return 1;
}

bool ParseIndex(const std::string& s, unsigned long& out) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  out = std::stoul(s);
  return true;
}

int Run(const std::vector<std::string>& args) {
  if (args.size() == 2 && args[0] == "--activate") {
    std::u16string path = velmor::Utf8ToWide(args[1]);
    return velmor::platform::SendCopyDataToRunningEngine(velmor::kCopyDataActivate, path.data(),
                                                         path.size() * sizeof(char16_t))
               ? 0
               : NoEngine();
  }
  if (args.size() == 3 && args[0] == "--run-field") {
    unsigned long w = 0, f = 0;
    if (!ParseIndex(args[1], w) || !ParseIndex(args[2], f)) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    return velmor::platform::PostToRunningEngine(velmor::WM_OVL_RUNFIELD, w,
                                                 static_cast<std::intptr_t>(f))
               ? 0
               : NoEngine();
  }
  if (args.size() == 1 && args[0] == "--quit") {
    return velmor::platform::SendCopyDataToRunningEngine(velmor::kCopyDataQuit, nullptr, 0)
               ? 0
               : NoEngine();
  }
  if (!args.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  velmor::SetQuitOnCopyDataRequest(true);
  OverlayEngineStart();
  velmor::host::InstallStopHandlers();
  std::printf("velmor-engine: running in %s\n",
              velmor::WideToUtf8(velmor::platform::ProgramDirectory().u16string()).c_str());
  std::fflush(stdout);
  std::atomic<bool> stopWatching{false};
  const int language = velmor::EngineLanguageIndex(velmor::CurrentSettings().language);
  std::thread voiceWatch([&] {
    int shown = -1;
    while (!stopWatching) {
      const int state = static_cast<int>(velmor::voice::CurrentState());
      if (state != shown) {
        shown = state;
        std::printf("velmor-engine: voice: %s\n",
                    velmor::WideToUtf8(velmor::voice::StatusText(language)).c_str());
        std::fflush(stdout);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  velmor::platform::RunEventLoop();
  stopWatching = true;
  voiceWatch.join();
  OverlayEngineStop();
  // A field already running finishes its steps, so no key is left down.
  velmor::WaitForFieldsIdle(10000);
  return 0;
}

}  // namespace

VELMOR_TOOL_MAIN(Run)
