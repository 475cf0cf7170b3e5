// map.json on arbitrary bytes: the rule document or its wheel-file reading,
// applied into a table. Every entry must carry a set target and a source id
// that the grammar can produce.

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
  GlobalRuleTable table;
  for (const auto& rule : ReadGlobalRules(text, &report))
    ApplyGlobalRule(table, rule.src, rule.target);
  for (const auto& [id, target] : table) {
    Require(TargetSet(target));
    Require((id & 0xC0000000u) == 0 && static_cast<int>(GestureOf(id)) <= 2);
    Require(!((id & kSourceMouse) && (id & kSourcePad)));
    if (id & kSourceMouse) Require((id & kSourceCodeBits) <= 4);
  }
  return 0;
}
