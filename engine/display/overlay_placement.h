#pragma once

// Where the toast and the held-keys bar go on a monitor, and the pad
// toggle-key edge rule. Plain functions of their inputs.

#include <cstdint>

#include "engine/platform/desktop.h"
#include "engine/platform/overlay_input.h"
#include "engine/platform/overlay_window.h"

namespace velmor {

inline constexpr int kToastHeight = 52;
inline constexpr int kHeldKeysBarHeight = 40;
inline constexpr std::int64_t kToastLifeMs = 2000;

// `barBelowOrAbove`: the held-keys bar is shown on the same edge.
platform::Point ToastTopLeft(const platform::Rect& monitor, int width, bool atBottom,
                             bool barOnSameEdge);
platform::Point HeldKeysBarTopLeft(const platform::Rect& monitor, int width, bool atBottom);
// The wheel window centred on a monitor's full rectangle.
platform::Point CentredTopLeft(const platform::Rect& monitor, int width, int height);

// A pad's toggle state word: the buttons, 0x10000 for the left trigger and
// 0x20000 for the right one past 120; -1 when not connected.
std::int64_t PadToggleState(const platform::PadState& pad);

// Pads 0-3 toggle the wheel on the edge where every bit of the mask becomes
// set; a pad whose previous state is unknown never toggles.
class PadToggle {
 public:
  void Forget();
  // True when this reading of `pad` should toggle the wheel.
  bool Update(int pad, std::int64_t state, std::uint32_t mask);

 private:
  std::int64_t previous_[4] = {-1, -1, -1, -1};
};

}  // namespace velmor
