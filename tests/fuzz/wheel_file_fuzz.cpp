// The wheel-file reader on arbitrary bytes, with both field limits, silent
// and with a report. Loaded wheels must keep the reader's promises.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/core/wheel_file.h"

namespace {
void Require(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (std::size_t limit : {velmor::kWheelFieldLimit, velmor::kCommandListFieldLimit}) {
    velmor::WheelList wheels;
    velmor::LoadReport report;
    velmor::LoadWheelText(bytes, wheels, limit,
                          limit == velmor::kWheelFieldLimit ? nullptr : &report, "fuzz.json");
    for (const auto& w : wheels) {
      Require(!w.fields.empty() && w.fields.size() <= limit);
      for (const auto& f : w.fields) {
        Require(f.delay >= 0 && f.delay <= 2000);
        for (const auto& s : f.steps) {
          switch (s.kind) {
            case velmor::StepKind::Click:
              Require(s.value >= 1 && s.value <= 100 && s.key.valid);
              break;
            case velmor::StepKind::Hold:
              Require(s.value >= 0 && s.value <= 60000 && s.key.valid);
              break;
            case velmor::StepKind::Wait:
              Require(s.value >= 0 && s.value <= 60000);
              break;
            case velmor::StepKind::Open:
            case velmor::StepKind::Call:
            case velmor::StepKind::Wheel:
            case velmor::StepKind::Profile:
            case velmor::StepKind::Map:
              Require(!s.text.empty());
              break;
            default:
              break;
          }
        }
      }
    }
  }
  return 0;
}
