// Parse-and-load cost of the files the engine reads most: a 1000-field
// command list (voice.json's limit) and a full wheel file of 24 fields in
// 8 wheels, each next to nlohmann::json parsing the same bytes.
//
//   velmor_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <string>

#include "engine/core/json_reader.h"
#include "engine/core/wheel_file.h"

namespace {

std::string Field(int i) {
  return "{ \"name\": \"Komenda " + std::to_string(i) + "\", \"voice\": \"komenda numer " +
         std::to_string(i) + "\", \"color\": \"#3498DB\", \"delay\": 40, \"steps\": [ " +
         "{ \"key\": \"ctrl\", \"action\": \"hold\" }, { \"key\": \"f" +
         std::to_string(i % 24 + 1) + "\", \"action\": \"click\", \"value\": 2 }, " +
         "{ \"key\": \"ctrl\", \"action\": \"release\" }, { \"wait\": 120 } ] }";
}

std::string CommandList() {
  std::string s = "{\n  \"actions\": [\n";
  for (int i = 0; i < 1000; ++i) s += (i ? ",\n    " : "    ") + Field(i);
  return s + "\n  ]\n}\n";
}

std::string WheelFile() {
  std::string s = "{\n  \"wheels\": [\n";
  for (int w = 0; w < 8; ++w) {
    s += std::string(w ? ",\n" : "") + "    { \"name\": \"Ko\xC5\x82o " + std::to_string(w) +
         "\", \"actions\": [\n";
    for (int i = 0; i < 24; ++i) s += (i ? ",\n      " : "      ") + Field(w * 24 + i);
    s += "\n    ] }";
  }
  return s + "\n  ]\n}\n";
}

const std::string& Text(int which) {
  static const std::string commands = CommandList();
  static const std::string wheels = WheelFile();
  return which == 0 ? commands : wheels;
}

void SetLabel(benchmark::State& state, int which) {
  state.SetLabel(which == 0 ? "1000-field command list" : "8 wheels x 24 fields");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(Text(which).size()));
}

void BM_EngineParse(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  for (auto _ : state) {
    velmor::JsonValue v;
    bool ok = velmor::ParseJsonDocument(velmor::DecodeFileBytes(Text(which)), v);
    benchmark::DoNotOptimize(ok);
  }
  SetLabel(state, which);
}

void BM_EngineLoad(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const std::size_t limit = which == 0 ? velmor::kCommandListFieldLimit : velmor::kWheelFieldLimit;
  for (auto _ : state) {
    velmor::WheelList wheels;
    bool ok = velmor::LoadWheelText(Text(which), wheels, limit);
    benchmark::DoNotOptimize(ok);
  }
  SetLabel(state, which);
}

void BM_NlohmannParse(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto j = nlohmann::json::parse(Text(which));
    benchmark::DoNotOptimize(j);
  }
  SetLabel(state, which);
}

BENCHMARK(BM_EngineParse)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngineLoad)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NlohmannParse)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
