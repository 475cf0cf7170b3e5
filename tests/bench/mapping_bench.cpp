// The cost of a hooked key: DispatchGlobalInput looks up the three gestures
// of the source in a table of 500 rules and steps the gesture machine. It
// runs inside the low-level hook, so it must stay in microseconds. Targets
// are "none" so the numbers hold the lookup and the state machine only.
//
//   velmor_bench --benchmark_filter=Mapping --benchmark_repetitions=10

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/mapping/map_rules.h"
#include "engine/mapping/mapping.h"
#include "engine/platform/fake/fake_platform.h"

namespace {

// A 500-line rule file: every key, mouse and pad button name with its
// single, double and hold rules (about 330 distinct sources with gestures),
// the rest repeating earlier lines as hand-edited files do.
std::string RulesText() {
  std::vector<std::string> names;
  for (char c = '0'; c <= '9'; ++c) names.emplace_back(1, c);
  for (char c = 'a'; c <= 'z'; ++c) names.emplace_back(1, c);
  for (int f = 1; f <= 24; ++f) names.push_back("f" + std::to_string(f));
  for (const char* n :
       {"space",    "enter",  "tab",    "esc",  "capslock", "backspace", "shift", "ctrl",
        "alt",      "up",     "down",   "left", "right",    "home",      "end",   "pageup",
        "pagedown", "insert", "delete", "lmb",  "rmb",      "mmb",       "mb4",   "mb5"})
    names.emplace_back(n);
  for (const char* n : {"a", "b", "x", "y", "lb", "rb", "lt", "rt", "back", "start", "l3", "r3",
                        "up", "down", "left", "right"})
    names.push_back(std::string("pad:") + n);
  std::vector<std::string> lines;
  for (const auto& n : names)
    for (const char* g : {"", " x2", " hold"})
      lines.push_back("        {\"src\": \"" + n + g + "\", \"to\": \"none\"}");
  for (std::size_t i = 0; lines.size() < 500; ++i) lines.push_back(lines[i]);
  std::string s = "{\n    \"rules\": [\n";
  for (std::size_t i = 0; i < lines.size(); ++i) s += (i ? ",\n" : "") + lines[i];
  return s + "\n    ]\n}\n";
}

void BM_MappingReadRules(benchmark::State& state) {
  const std::u16string text = velmor::DecodeFileBytes(RulesText());
  for (auto _ : state) {
    velmor::mapping::GlobalRuleTable table;
    for (const auto& r : velmor::mapping::ReadGlobalRules(text))
      velmor::mapping::ApplyGlobalRule(table, r.src, r.target);
    benchmark::DoNotOptimize(table.size());
  }
}

void BM_MappingDispatchGlobalInput(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "velmor-mapping-bench";
  fs::create_directories(dir);
  std::ofstream(dir / "map.json", std::ios::binary) << RulesText();
  velmor::platform::fake::Reset();
  velmor::mapping::LoadMapRules(dir);
  // Mapped sources with one, two and three rules, and a key without rules.
  const std::uint32_t codes[] = {'A', 0x70, 0x10000000, 0x7E};  // 0x7E: f15 is mapped too
  std::size_t i = 0;
  for (auto _ : state) {
    const std::uint32_t code = codes[i++ % 4];
    benchmark::DoNotOptimize(velmor::mapping::DispatchGlobalInput(code, true));
    benchmark::DoNotOptimize(velmor::mapping::DispatchGlobalInput(code, false));
  }
  state.SetLabel(std::to_string(velmor::mapping::GlobalRuleCount()) + " rules");
  velmor::mapping::ClearGestureStates(u"g|");
  fs::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_MappingReadRules)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MappingDispatchGlobalInput)->Unit(benchmark::kNanosecond);
