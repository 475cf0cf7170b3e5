#include "support/shared_engine.h"

#include "engine/core/overlay_api.h"
#include "engine/platform/fake/fake_platform.h"

namespace velmor::test {

const TempDir& SharedEngineDir() {
  // Leaked on purpose: the engine keeps using the folder until the process
  // ends.
  static TempDir* dir = [] {
    auto* d = new TempDir();
    // Voice stays off unless a test turns it on: a recogniser thread in every
    // test process would only race the process's end.
    d->Write("config.json", "{\"voiceEnabled\": false}");
    platform::fake::SetProgramDirectory(d->path());
    platform::fake::Reset();
    OverlayEngineStart();
    return d;
  }();
  return *dir;
}

}  // namespace velmor::test
