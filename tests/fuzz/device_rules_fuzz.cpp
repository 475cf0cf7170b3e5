// devmap.json on arbitrary bytes through the chunk scanner: every rule kept
// has a device key, a set target and a source the grammar allows.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/core/json_reader.h"
#include "engine/mapping/map_rules.h"

namespace {
void Require(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmor::mapping;
  const std::u16string text =
      velmor::DecodeFileBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  velmor::LoadReport report;
  for (const auto& rule : ReadDeviceRules(text, &report)) {
    Require(!rule.device.empty());
    Require(TargetSet(rule.target));
    if (rule.kind == SourceKind::Pad) Require(rule.index >= 1 && rule.index <= 64);
    if (rule.kind == SourceKind::Mouse) Require(rule.index <= 4);
    if (rule.kind == SourceKind::Keyboard) Require(rule.index > 0 && rule.index < 256);
  }
  return 0;
}
