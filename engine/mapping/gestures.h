#pragma once

// The gesture state machine: which targets a source's presses and releases
// press and release when the source has single, double ("x2") and hold
// rules. Pure: the caller supplies the time, holds the lock, and performs
// the returned actions after leaving it, in order.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/key_names.h"

namespace velmor::mapping {

// The rules of one source, copied out of the rule tables at the event.
struct RuleSet {
  KeySpec single, dbl, hold;
  // Stands in for a swallowed source that has no single rule: the same key
  // or mouse button for global keyboard and mouse sources, unset otherwise.
  KeySpec replay;
};

enum class GesturePhase : int { Held, Pending, AwaitSecond, HoldActive, DoubleActive, Tap };

struct GestureTiming {
  int mapDouble = 300;  // double window
  int mapHold = 400;    // hold threshold
  int keyHold = 60;     // tap length
};

struct GestureAction {
  KeySpec target;
  bool down = false;
};

struct GestureResult {
  std::vector<GestureAction> actions;
  bool deadlineSet = false;  // the caller starts the gesture timer
};

class GestureTable {
 public:
  // One press or release of the source `key`. Times are a 32-bit
  // millisecond tick count that may wrap.
  GestureResult Resolve(const std::u16string& key, const RuleSet& rules, bool down,
                        std::uint32_t now, const GestureTiming& timing);
  // Acts on every state whose deadline has passed, in key order.
  GestureResult Tick(std::uint32_t now, const GestureTiming& timing);
  // Removes the states whose key begins with `prefix`, releasing what they
  // hold.
  std::vector<GestureAction> Clear(std::u16string_view prefix);

  bool AnyDeadline() const;
  std::optional<GesturePhase> PhaseOf(const std::u16string& key) const;
  bool empty() const { return states_.empty(); }

 private:
  struct State {
    GesturePhase phase = GesturePhase::Held;
    std::uint32_t deadline = 0;  // 0 = none
    RuleSet rules;
    KeySpec tapTarget;
  };
  static std::uint32_t Deadline(std::uint32_t now, int ms);
  std::map<std::u16string, State> states_;
};

const char* GesturePhaseName(GesturePhase p);

}  // namespace velmor::mapping
