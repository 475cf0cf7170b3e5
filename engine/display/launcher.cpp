#include "engine/display/launcher.h"

#include <algorithm>
#include <charconv>

namespace velmor {

double Launcher::HoverProgress(std::int64_t now) const {
  if (!hovering()) return 0;
  return std::clamp(static_cast<double>(now - hoverStart_) / kOpenAfterMs, 0.0, 1.0);
}

platform::Point Launcher::Clamped(platform::Point p, const platform::Rect& screen) const {
  // Left and top win when the screen is smaller than the button.
  p.x = std::max(std::min(p.x, screen.right - size_), screen.left);
  p.y = std::max(std::min(p.y, screen.bottom - size_), screen.top);
  return p;
}

bool Launcher::Inside(platform::Point c) const {
  return c.x >= pos_.x && c.y >= pos_.y && c.x < pos_.x + size_ && c.y < pos_.y + size_;
}

void Launcher::Place(platform::Point p, int size, const platform::Rect& screen) {
  size_ = size;
  pos_ = Clamped(p, screen);
  hovering_ = false;
  dragging_ = false;
}

void Launcher::OnWheelShown() {
  hovering_ = false;
  dragging_ = false;
  armed_ = false;
}

LauncherTickResult Launcher::Tick(std::int64_t now, platform::Point cursor, bool buttonDown,
                                  const platform::Rect& screen) {
  LauncherTickResult r;
  if (dragging_) {
    if (buttonDown) {
      platform::Point p{cursor.x - grab_.x, cursor.y - grab_.y};
      if (!(p == pos_)) {
        pos_ = p;
        moved_ = true;
        r.move = true;
      }
    } else {
      dragging_ = false;
      pos_ = Clamped(pos_, screen);
      r.move = true;
      r.savePos = moved_;
      hoverStart_ = now;
    }
    r.redraw = true;
    return r;
  }
  if (!Inside(cursor)) {
    armed_ = true;
    if (hovering_) {
      hovering_ = false;
      r.redraw = true;
    }
    return r;
  }
  if (buttonDown) {
    dragging_ = true;
    grab_ = {cursor.x - pos_.x, cursor.y - pos_.y};
    moved_ = false;
    hovering_ = false;
    r.redraw = true;
    return r;
  }
  if (!armed_) return r;
  if (hovering_) {
    if (now - hoverStart_ >= kOpenAfterMs) {
      hovering_ = false;
      r.showWheel = true;
    }
  } else {
    hovering_ = true;
    hoverStart_ = now;
  }
  r.redraw = true;
  return r;
}

std::optional<platform::Point> ParseLauncherPos(std::string_view text) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  const auto space = text.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  auto number = [](std::string_view s) -> std::optional<int> {
    int v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
  };
  auto x = number(text.substr(0, space));
  auto y = number(text.substr(space + 1));
  if (!x || !y) return std::nullopt;
  return platform::Point{*x, *y};
}

std::string FormatLauncherPos(platform::Point p) {
  return std::to_string(p.x) + " " + std::to_string(p.y);
}

}  // namespace velmor
