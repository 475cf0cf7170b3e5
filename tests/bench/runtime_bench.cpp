// What it costs to produce input on this build's real backend: one PressKey
// down and up, and a field run from RunField (no start pause, no key hold)
// until its click has been sent — thread start included.
//
//   DISPLAY=:N velmor_runtime_bench --benchmark_repetitions=10
//   --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include "engine/core/step_runner.h"

namespace {

velmor::KeySpec QuietKey() {
  // Mute: a key every keyboard map has and no test program reacts to.
  return velmor::ResolveKeyName(u"volumemute");
}

void BM_PressKeyDownUp(benchmark::State& state) {
  const velmor::KeySpec key = QuietKey();
  for (auto _ : state) {
    velmor::PressKey(key, true);
    velmor::PressKey(key, false);
  }
}

void BM_RunFieldToClickSent(benchmark::State& state) {
  velmor::SetStepTimings(0, 0);
  velmor::WheelAction field;
  velmor::Step click;
  click.key = QuietKey();
  click.value = 1;
  field.steps.push_back(click);
  field.delay = 0;
  for (auto _ : state) {
    velmor::RunField(field, 0);
    velmor::WaitForFieldsIdle(10000);
  }
}

BENCHMARK(BM_PressKeyDownUp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunFieldToClickSent)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
