#pragma once

// The mapping-rule side of the checker: what the engine keeps of map.json
// and devmap.json, and a gesture timeline on a virtual clock.

#include <string>
#include <vector>

#include "engine/core/load_report.h"
#include "engine/mapping/gestures.h"
#include "engine/mapping/map_rules.h"

namespace velmor::check {

struct LoadedRules {
  bool mapPresent = false, devPresent = false;
  mapping::GlobalRuleTable global;
  mapping::DeviceRuleList device;
};

LoadedRules LoadRules(const std::filesystem::path& dir, LoadReport& report);

std::string TargetText(const KeySpec& k);
std::string GlobalSourceText(std::uint32_t id);

// "down:f5 @120 up:f5 @600": presses and releases of global sources at
// times (ms, from 0, rising). Each line of `out` is one action, e.g.
// "@400 press \"b\"". False (with `err`) for a malformed script.
bool SimulateGestures(const mapping::GlobalRuleTable& rules, const mapping::GestureTiming& timing,
                      const std::string& script, std::string& out, std::string& err);

}  // namespace velmor::check
