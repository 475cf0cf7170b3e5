#include "engine/mapping/gestures.h"

#include "engine/mapping/map_rules.h"

namespace velmor::mapping {

std::uint32_t GestureTable::Deadline(std::uint32_t now, int ms) {
  const std::uint32_t d = now + static_cast<std::uint32_t>(ms < 0 ? 0 : ms);
  return d == 0 ? 1 : d;  // 0 means "no deadline"
}

GestureResult GestureTable::Resolve(const std::u16string& key, const RuleSet& rules, bool down,
                                    std::uint32_t now, const GestureTiming& timing) {
  GestureResult out;
  auto it = states_.find(key);
  if (down) {
    if (it == states_.end()) {
      State s;
      s.rules = rules;
      if (TargetSet(rules.dbl) || TargetSet(rules.hold)) {
        s.phase = GesturePhase::Pending;
        if (TargetSet(rules.hold)) {
          s.deadline = Deadline(now, timing.mapHold);
          out.deadlineSet = true;
        }
      } else {
        s.phase = GesturePhase::Held;
        out.actions.push_back({rules.single, true});
      }
      states_.emplace(key, std::move(s));
    } else if (it->second.phase == GesturePhase::AwaitSecond) {
      it->second.phase = GesturePhase::DoubleActive;
      it->second.deadline = 0;
      out.actions.push_back({it->second.rules.dbl, true});
    }
    // Any other phase: auto-repeat or a press during a tap; nothing.
    return out;
  }

  if (it == states_.end()) return out;
  State& s = it->second;
  switch (s.phase) {
    case GesturePhase::Held:
      out.actions.push_back({s.rules.single, false});
      states_.erase(it);
      break;
    case GesturePhase::Pending:
      if (TargetSet(s.rules.dbl)) {
        s.phase = GesturePhase::AwaitSecond;
        s.deadline = Deadline(now, timing.mapDouble);
        out.deadlineSet = true;
      } else {
        const KeySpec& t = TargetSet(s.rules.single) ? s.rules.single : s.rules.replay;
        if (TargetSet(t)) {
          s.phase = GesturePhase::Tap;
          s.tapTarget = t;
          s.deadline = Deadline(now, timing.keyHold);
          out.actions.push_back({t, true});
          out.deadlineSet = true;
        } else {
          states_.erase(it);
        }
      }
      break;
    case GesturePhase::HoldActive:
      out.actions.push_back({s.rules.hold, false});
      states_.erase(it);
      break;
    case GesturePhase::DoubleActive:
      out.actions.push_back({s.rules.dbl, false});
      states_.erase(it);
      break;
    case GesturePhase::AwaitSecond:
    case GesturePhase::Tap:
      break;
  }
  return out;
}

GestureResult GestureTable::Tick(std::uint32_t now, const GestureTiming& timing) {
  GestureResult out;
  for (auto it = states_.begin(); it != states_.end();) {
    State& s = it->second;
    if (s.deadline == 0 || static_cast<std::int32_t>(now - s.deadline) < 0) {
      ++it;
      continue;
    }
    bool remove = false;
    switch (s.phase) {
      case GesturePhase::Pending:
        // Held past the threshold. The deadline stays for one more tick.
        s.phase = GesturePhase::HoldActive;
        out.actions.push_back({s.rules.hold, true});
        break;
      case GesturePhase::AwaitSecond: {
        const KeySpec& t = TargetSet(s.rules.single) ? s.rules.single : s.rules.replay;
        if (TargetSet(t)) {
          s.phase = GesturePhase::Tap;
          s.tapTarget = t;
          s.deadline = Deadline(now, timing.keyHold);
          out.actions.push_back({t, true});
          out.deadlineSet = true;
        } else {
          remove = true;
        }
        break;
      }
      case GesturePhase::Tap:
        out.actions.push_back({s.tapTarget, false});
        remove = true;
        break;
      default:
        s.deadline = 0;
        break;
    }
    it = remove ? states_.erase(it) : std::next(it);
  }
  return out;
}

std::vector<GestureAction> GestureTable::Clear(std::u16string_view prefix) {
  std::vector<GestureAction> out;
  for (auto it = states_.begin(); it != states_.end();) {
    if (std::u16string_view(it->first).substr(0, prefix.size()) != prefix) {
      ++it;
      continue;
    }
    const State& s = it->second;
    switch (s.phase) {
      case GesturePhase::Held:
        out.push_back({s.rules.single, false});
        break;
      case GesturePhase::HoldActive:
        out.push_back({s.rules.hold, false});
        break;
      case GesturePhase::DoubleActive:
        out.push_back({s.rules.dbl, false});
        break;
      case GesturePhase::Tap:
        out.push_back({s.tapTarget, false});
        break;
      case GesturePhase::Pending:
      case GesturePhase::AwaitSecond:
        break;
    }
    it = states_.erase(it);
  }
  return out;
}

bool GestureTable::AnyDeadline() const {
  for (const auto& [key, s] : states_)
    if (s.deadline != 0) return true;
  return false;
}

std::optional<GesturePhase> GestureTable::PhaseOf(const std::u16string& key) const {
  auto it = states_.find(key);
  if (it == states_.end()) return std::nullopt;
  return it->second.phase;
}

const char* GesturePhaseName(GesturePhase p) {
  switch (p) {
    case GesturePhase::Held:
      return "Held";
    case GesturePhase::Pending:
      return "Pending";
    case GesturePhase::AwaitSecond:
      return "AwaitSecond";
    case GesturePhase::HoldActive:
      return "HoldActive";
    case GesturePhase::DoubleActive:
      return "DoubleActive";
    case GesturePhase::Tap:
      return "Tap";
  }
  return "?";
}

}  // namespace velmor::mapping
