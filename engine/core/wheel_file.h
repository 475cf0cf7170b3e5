#pragma once

// Wheel files: one or more named rings of fields, each field an ordered list
// of steps. The same reader loads the voice command list and the legacy form
// of the mapping file with a larger field limit.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/json_reader.h"
#include "engine/core/key_names.h"
#include "engine/core/load_report.h"

namespace velmor {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// "#RRGGBB" (either case) to a colour; empty for any other text.
std::optional<Rgb> ParseHexColor(std::u16string_view text);

struct Step {
  KeySpec key;  // key steps, and the resolved "to" of a map step
  StepKind kind = StepKind::Click;
  int value = 0;        // press count, hold or wait milliseconds
  std::u16string text;  // open, call, wheel, map and profile argument
};

struct WheelAction {
  std::u16string name;
  std::vector<Step> steps;
  int delay = 30;  // ms between steps
  Rgb color;
  bool hasColor = false;
  std::u16string icon;
  std::u16string voice;
};

struct Wheel {
  std::u16string name;
  std::vector<WheelAction> fields;  // never empty in a loaded list
};

using WheelList = std::vector<Wheel>;

inline constexpr std::size_t kWheelFieldLimit = 24;
inline constexpr std::size_t kCommandListFieldLimit = 1000;

// Clears `out` and fills it from the file. False when the file could not be
// read or parsed, the root has neither form, a "wheels" element had no
// "actions" array, or a wheel was cut to `fieldLimit`; bad fields and steps
// are dropped without changing the result. `report`, when given, hears of
// everything dropped or changed.
bool LoadWheelFile(const std::filesystem::path& path, WheelList& out, std::size_t fieldLimit,
                   LoadReport* report = nullptr);

// The same for a file's bytes already in memory; `fileLabel` names it in the
// report.
bool LoadWheelText(std::string_view bytes, WheelList& out, std::size_t fieldLimit,
                   LoadReport* report = nullptr, const std::string& fileLabel = {});

// The same for a parsed root value.
bool LoadWheelRoot(const JsonValue& root, WheelList& out, std::size_t fieldLimit,
                   LoadReport* report = nullptr, const std::string& fileLabel = {});

// A "steps" array as a field reads it: bad steps are dropped (and reported
// under `path`). Mapping rules build their step lists with it.
std::vector<Step> ParseStepList(const JsonValue& steps, LoadReport* report = nullptr,
                                const std::string& fileLabel = {}, const std::string& path = {});

// The files written on first run, byte for byte.
extern const char kDefaultWheelFileText[];
extern const char kDefaultVoiceFileText[];

}  // namespace velmor
