// The wheel's 15 ms tick on the fake platform with the build's renderer:
// idle (which must not redraw) and with motion (a full redraw each tick),
// for 8 plain fields and for 24 fields with icons.

#include <benchmark/benchmark.h>

#include <QImage>
#include <filesystem>
#include <string>

#include "engine/core/engine.h"
#include "engine/core/overlay_api.h"
#include "engine/display/overlay.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/fake/fake_platform.h"

namespace {

namespace fake = velmor::platform::fake;
namespace fs = std::filesystem;

const fs::path& Dir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("velmor-overlay-bench-" + std::to_string(::getpid()));
    fs::create_directories(d / "icons");
    QImage icon(64, 64, QImage::Format_ARGB32);
    icon.fill(0xFFE0A030u);
    icon.save(QString::fromStdString((d / "icons" / "i.png").string()));
    fake::SetProgramDirectory(d);
    fake::Reset();
    OverlayEngineStart();
    return d;
  }();
  return dir;
}

void ShowWheelOf(int fields, bool icons) {
  std::string json = R"({"wheels":[{"name":"Bench","actions":[)";
  for (int i = 0; i < fields; ++i) {
    if (i) json += ",";
    json += R"({"name":"Field )" + std::to_string(i + 1) + R"(",)";
    if (icons) json += R"("icon":"icons/i.png",)";
    json += R"("steps":[{"key":"a"}]})";
  }
  json += "]}]}";
  const fs::path file = Dir() / "bench.json";
  FILE* f = std::fopen(file.c_str(), "w");
  std::fputs(json.c_str(), f);
  std::fclose(f);
  velmor::EngineActivateWheelFile(file);
  if (velmor::WheelVisible()) velmor::HideWheel();
  velmor::ShowWheel();
}

void BM_TickIdle(benchmark::State& state) {
  ShowWheelOf(8, false);
  const int before = fake::Overlay(velmor::platform::OverlayKind::kWheel).draws;
  for (auto _ : state) fake::AdvanceTime(15);
  state.counters["redraws"] = fake::Overlay(velmor::platform::OverlayKind::kWheel).draws - before;
  velmor::HideWheel();
}
BENCHMARK(BM_TickIdle);

void BM_TickWithMotion(benchmark::State& state) {
  ShowWheelOf(static_cast<int>(state.range(0)), state.range(1) != 0);
  int step = 1;
  for (auto _ : state) {
    // Back and forth across fields, so hover and cursor both change.
    fake::CurrentSink()->OnRawMouse(step * 40, 0, false);
    step = -step;
    fake::AdvanceTime(15);
  }
  velmor::HideWheel();
}
BENCHMARK(BM_TickWithMotion)->Args({8, 0})->Args({24, 1})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
