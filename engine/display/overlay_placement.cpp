#include "engine/display/overlay_placement.h"

namespace velmor {

namespace {
int CentreX(const platform::Rect& m, int width) {
  return m.left + (m.Width() - width) / 2;
}
}  // namespace

platform::Point ToastTopLeft(const platform::Rect& monitor, int width, bool atBottom,
                             bool barOnSameEdge) {
  // Beside the bar the toast moves away from the edge so both stay readable.
  if (atBottom) return {CentreX(monitor, width), monitor.bottom - (barOnSameEdge ? 164 : 116)};
  return {CentreX(monitor, width), monitor.top + (barOnSameEdge ? 56 : 36)};
}

platform::Point HeldKeysBarTopLeft(const platform::Rect& monitor, int width, bool atBottom) {
  return {CentreX(monitor, width), atBottom ? monitor.bottom - 56 : monitor.top + 8};
}

platform::Point CentredTopLeft(const platform::Rect& monitor, int width, int height) {
  return {CentreX(monitor, width), monitor.top + (monitor.Height() - height) / 2};
}

std::int64_t PadToggleState(const platform::PadState& pad) {
  if (!pad.connected) return -1;
  std::int64_t s = pad.buttons;
  if (pad.leftTrigger > 120) s |= 0x10000;
  if (pad.rightTrigger > 120) s |= 0x20000;
  return s;
}

void PadToggle::Forget() {
  for (auto& p : previous_) p = -1;
}

bool PadToggle::Update(int pad, std::int64_t state, std::uint32_t mask) {
  if (pad < 0 || pad > 3) return false;
  const std::int64_t before = previous_[pad];
  previous_[pad] = state;
  if (before == -1 || state == -1 || mask == 0) return false;
  const bool allNow = (state & mask) == mask;
  const bool allBefore = (before & mask) == mask;
  return allNow && !allBefore;
}

}  // namespace velmor
