#include "tools/velmor-check/rules_check.h"

#include <cstdio>
#include <sstream>

#include "engine/core/json_reader.h"
#include "engine/core/text.h"

namespace velmor::check {

namespace {

constexpr std::uint32_t kTick = 25;  // the engine's gesture timer

}  // namespace

LoadedRules LoadRules(const std::filesystem::path& dir, LoadReport& report) {
  LoadedRules r;
  if (auto text = ReadTextFile(dir / "map.json")) {
    r.mapPresent = true;
    for (const auto& rule : mapping::ReadGlobalRules(*text, &report))
      mapping::ApplyGlobalRule(r.global, rule.src, rule.target);
  }
  if (auto text = ReadTextFile(dir / "devmap.json")) {
    r.devPresent = true;
    r.device = mapping::ReadDeviceRules(*text, &report);
  }
  return r;
}

std::string TargetText(const KeySpec& k) {
  if (k.sequence) return "steps (" + std::to_string(k.sequence->size()) + ")";
  return "\"" + WideToUtf8(k.name) + "\"";
}

std::string GlobalSourceText(std::uint32_t id) {
  const std::uint32_t code = mapping::WithoutGesture(id) & mapping::kSourceCodeBits;
  char buf[32];
  if (id & mapping::kSourcePad) {
    const char16_t* name = PadButtonName(code);
    return "pad:" + (name ? WideToUtf8(name) : std::string("?"));
  }
  if (id & mapping::kSourceMouse) return WideToUtf8(mapping::MouseSourceName(code));
  std::snprintf(buf, sizeof buf, "vk 0x%02X", static_cast<unsigned>(code));
  return buf;
}

bool SimulateGestures(const mapping::GlobalRuleTable& rules, const mapping::GestureTiming& timing,
                      const std::string& script, std::string& out, std::string& err) {
  struct Event {
    std::uint32_t at;
    std::uint32_t code;
    bool down;
    std::string name;
  };
  std::vector<Event> events;
  std::istringstream in(script);
  std::string tok;
  std::uint32_t now = 0;
  while (in >> tok) {
    if (tok[0] == '@') {
      char* end = nullptr;
      const unsigned long t = std::strtoul(tok.c_str() + 1, &end, 10);
      if (tok.size() < 2 || *end || t < now || t > 3600000) {
        err += "velmor-check: bad time " + tok + " (times rise, in ms)\n";
        return false;
      }
      now = static_cast<std::uint32_t>(t);
      continue;
    }
    const auto colon = tok.find(':');
    const std::string verb = tok.substr(0, colon);
    if (colon == std::string::npos || (verb != "down" && verb != "up")) {
      err += "velmor-check: bad event " + tok + " (down:SOURCE or up:SOURCE)\n";
      return false;
    }
    const auto id = mapping::ParseGlobalSource(Utf8ToWide(tok.substr(colon + 1)));
    if (!id || mapping::GestureOf(*id) != mapping::Gesture::Single) {
      err += "velmor-check: " + tok.substr(colon + 1) + " is not a key, mouse or pad button\n";
      return false;
    }
    events.push_back({now, *id, verb == "down", tok.substr(colon + 1)});
  }

  mapping::GestureTable table;
  bool timerOn = false;
  std::uint32_t nextTick = 0;
  auto perform = [&](std::uint32_t at, const std::vector<mapping::GestureAction>& actions) {
    for (const auto& a : actions)
      out += "@" + std::to_string(at) + (a.down ? " press " : " release ") + TargetText(a.target) +
             "\n";
  };
  auto runTicksUntil = [&](std::uint32_t t) {
    while (timerOn && nextTick <= t) {
      const std::uint32_t at = nextTick;
      auto r = table.Tick(at, timing);
      perform(at, r.actions);
      nextTick += kTick;
      if (!table.AnyDeadline()) timerOn = false;
    }
  };
  for (const auto& e : events) {
    runTicksUntil(e.at);
    mapping::RuleSet set;
    auto copy = [&](mapping::Gesture g, KeySpec& slot) {
      auto it = rules.find(mapping::WithGesture(e.code, g));
      if (it != rules.end()) slot = it->second;
    };
    copy(mapping::Gesture::Single, set.single);
    copy(mapping::Gesture::Double, set.dbl);
    copy(mapping::Gesture::Hold, set.hold);
    if (!mapping::TargetSet(set.single) && !mapping::TargetSet(set.dbl) &&
        !mapping::TargetSet(set.hold)) {
      out += "@" + std::to_string(e.at) + " " + (e.down ? "down " : "up ") + e.name +
             ": no rule, passed on\n";
      continue;
    }
    if (e.code < mapping::kSourceMouse) {
      set.replay = KeyForVk(static_cast<std::uint16_t>(e.code));
      if (set.replay.name.empty()) set.replay.name = Utf8ToWide(e.name);
    } else if (e.code < mapping::kSourcePad) {
      set.replay = ResolveKeyName(Utf8ToWide(e.name));
    }
    char key[16];
    std::snprintf(key, sizeof key, "g|%08X", static_cast<unsigned>(e.code));
    auto r = table.Resolve(Utf8ToWide(key), set, e.down, e.at, timing);
    perform(e.at, r.actions);
    if (r.deadlineSet && !timerOn) {
      timerOn = true;
      nextTick = e.at + kTick;
    }
  }
  // Let every gesture under way run out.
  if (timerOn) runTicksUntil(now + 60000);
  return true;
}

}  // namespace velmor::check
