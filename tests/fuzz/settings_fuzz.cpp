// The settings load on arbitrary config.json bytes, silent and with a report,
// followed by the toggle-key parse that every load ends with. Every clamp
// must hold whatever the file says.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/core/settings.h"

namespace {
void Require(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string text = velmor::DecodeFileBytes(bytes);
  for (int pass = 0; pass < 2; ++pass) {
    velmor::EngineSettings s;
    velmor::LoadReport report;
    velmor::LoadSettingsText(text, s, pass ? &report : nullptr);
    velmor::ToggleKey t = velmor::ParseToggleKey(s.toggleKey);
    if (!t.valid) t = velmor::ParseToggleKey(u"x");
    Require(t.valid);
    Require(s.sendDelay >= 0 && s.sendDelay <= 2000);
    Require(s.keyHold >= 0 && s.keyHold <= 1000);
    Require(s.mapDouble >= 100 && s.mapDouble <= 2000);
    Require(s.mapHold >= 150 && s.mapHold <= 5000);
    Require(s.steerAxis >= 0 && s.steerAxis <= 3);
    Require(s.gazeDwell >= 0 && s.gazeDwell <= 10000);
    Require(s.launcherSize >= 32 && s.launcherSize <= 256);
    Require(s.readAloudDwell >= 300 && s.readAloudDwell <= 5000);
    Require(s.readVolume >= 0 && s.readVolume <= 100);
    Require(s.voiceConfidence >= 0 && s.voiceConfidence <= 100);
    Require(!s.language.empty() && !s.voiceModel.empty());
  }
  return 0;
}
