#pragma once

// The floating launcher button's hover and drag logic as a plain state
// machine, run every 50 ms with the cursor and the left button, and the
// text form of its stored position.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/platform/desktop.h"
#include "engine/platform/overlay_window.h"

namespace velmor {

struct LauncherTickResult {
  bool redraw = false;
  bool move = false;     // the button's position changed
  bool savePos = false;  // write the new position
  bool showWheel = false;
};

class Launcher {
 public:
  inline static constexpr std::int64_t kOpenAfterMs = 2000;

  platform::Point pos() const { return pos_; }
  int size() const { return size_; }
  bool hovering() const { return hovering_ && !dragging_; }
  bool dragging() const { return dragging_; }
  bool armed() const { return armed_; }
  // 0..1 of the hover that opens the wheel.
  double HoverProgress(std::int64_t now) const;

  // Placement: position (clamped to the screen) and size; hover and drag
  // cleared. Armed is kept.
  void Place(platform::Point p, int size, const platform::Rect& screen);
  // The wheel opened (from here or elsewhere): hovering again needs the
  // cursor to leave first.
  void OnWheelShown();

  LauncherTickResult Tick(std::int64_t now, platform::Point cursor, bool buttonDown,
                          const platform::Rect& screen);

 private:
  platform::Point Clamped(platform::Point p, const platform::Rect& screen) const;
  bool Inside(platform::Point c) const;

  platform::Point pos_{20, 20};
  int size_ = 64;
  bool hovering_ = false;
  std::int64_t hoverStart_ = 0;
  bool dragging_ = false;
  platform::Point grab_;
  bool moved_ = false;
  bool armed_ = true;
};

// "x y": two decimal integers and one blank between them. Surrounding
// blanks and a line end, which a hand edit may leave, are accepted.
std::optional<platform::Point> ParseLauncherPos(std::string_view text);
std::string FormatLauncherPos(platform::Point p);

}  // namespace velmor
