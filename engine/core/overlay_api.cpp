#include "engine/core/overlay_api.h"

#include <string>

#include "engine/core/engine.h"

namespace {

// Every export catches everything: nothing may unwind into a C caller.
template <typename F, typename R>
R Guarded(F&& f, R onFailure) noexcept {
  try {
    return f();
  } catch (...) {
    return onFailure;
  }
}

std::u16string FromC(const OverlayChar* s) {
  return s ? std::u16string(s) : std::u16string();
}

}  // namespace

extern "C" {

int OverlayEngineStart(void) {
  return Guarded([] { return velmor::EngineStart() ? 1 : 0; }, 0);
}

int OverlayEngineStop(void) {
  return Guarded([] { return velmor::EngineStop(); }, 0);
}

void OverlayReloadConfig(void) {
  Guarded(
      [] {
        velmor::EngineReload();
        return 0;
      },
      0);
}

int OverlayActivateWheelFile(const OverlayChar* path) {
  if (!path) return 0;
  return Guarded(
      [&] { return velmor::EngineActivateWheelFile(std::filesystem::path(FromC(path))) ? 1 : 0; },
      0);
}

void OverlayToggleWheel(void) {
  Guarded(
      [] {
        velmor::ToggleWheel();
        return 0;
      },
      0);
}

int OverlayIsWheelVisible(void) {
  return velmor::WheelVisible() ? 1 : 0;
}

int64_t OverlayWheelCount(void) {
  return static_cast<int64_t>(velmor::CurrentWheels().size());
}

const OverlayChar* OverlayWheelsSnapshotJson(void) {
  static std::u16string buffer;  // overwritten by the next call
  return Guarded(
      [] {
        buffer = velmor::WheelsSnapshotJson();
        return buffer.c_str();
      },
      u"");
}

}  // extern "C"
