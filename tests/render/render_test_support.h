#pragma once

// Wheels, sample points and pixel arithmetic shared by the renderer tests.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/wheel_file.h"
#include "engine/display/wheel_geometry.h"
#include "engine/platform/argb_image.h"
#include "engine/render/overlay_renderer.h"

namespace velmor::test {

struct Argb {
  int a, r, g, b;
};

// Back to straight alpha, the colours the tests speak in.
inline Argb Unpremultiply(std::uint32_t p) {
  const int a = static_cast<int>(p >> 24);
  auto channel = [a](std::uint32_t v) {
    return a == 0 ? 0 : std::min(255, static_cast<int>((v * 255 + a / 2) / a));
  };
  return {a, channel((p >> 16) & 0xFF), channel((p >> 8) & 0xFF), channel(p & 0xFF)};
}

inline Argb ArgbOf(std::uint32_t c) {
  return {static_cast<int>(c >> 24), static_cast<int>((c >> 16) & 0xFF),
          static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF)};
}

// Straight-alpha `top` over `bottom`.
inline Argb Over(Argb top, Argb bottom) {
  const double ta = top.a / 255.0, ba = bottom.a / 255.0;
  const double a = ta + ba * (1 - ta);
  if (a == 0) return {0, 0, 0, 0};
  auto mix = [&](int t, int b) {
    return static_cast<int>(std::lround((t * ta + b * ba * (1 - ta)) / a));
  };
  return {static_cast<int>(std::lround(a * 255)), mix(top.r, bottom.r), mix(top.g, bottom.g),
          mix(top.b, bottom.b)};
}

inline int MaxDifference(Argb x, Argb y) {
  return std::max(
      {std::abs(x.a - y.a), std::abs(x.r - y.r), std::abs(x.g - y.g), std::abs(x.b - y.b)});
}

inline Rgb DistinctColour(int i) {
  return {static_cast<std::uint8_t>(40 + (i * 67) % 200),
          static_cast<std::uint8_t>(30 + (i * 151) % 190),
          static_cast<std::uint8_t>(20 + (i * 97) % 220)};
}

// A wheel of `n` fields, each with its own colour except every third, which
// takes the segment colour. Names are left empty, so labels are the small
// numbers 1..n and the ring stays clear of text near the hole and the rim.
inline Wheel ColouredWheel(int n) {
  Wheel wheel;
  for (int i = 0; i < n; ++i) {
    WheelAction field;
    if (i % 3 != 2) {
      field.color = DistinctColour(i);
      field.hasColor = true;
    }
    wheel.fields.push_back(field);
  }
  return wheel;
}

struct Sample {
  int x, y;  // pixel; its centre (x + 0.5, y + 0.5) is what is hit-tested
};

// Pixels of field i of n close to both edges of its slice (about 4.5 pixels
// from each seam, clear of the 2.5-pixel outline and its antialiasing), just
// outside the hole and just inside the rim, where no label reaches.
inline std::vector<Sample> SliceSamples(int i, int n) {
  namespace wg = wheel_geometry;
  constexpr double kPi = 3.14159265358979323846;
  std::vector<Sample> out;
  for (double radius : {60.0, 214.0}) {
    const double margin = n == 1 ? 0 : std::asin(4.5 / radius) * 180 / kPi;
    const double start = wg::SliceStartDegrees(i, n), sweep = wg::SliceSweepDegrees(n);
    for (double deg : {start + margin, start + sweep / 2, start + sweep - margin}) {
      const double rad = deg * kPi / 180;
      out.push_back({static_cast<int>(std::floor(wg::kCentreX + radius * std::cos(rad))),
                     static_cast<int>(std::floor(wg::kCentreY + radius * std::sin(rad)))});
    }
  }
  return out;
}

// A view of `wheel` with the cursor parked in a corner, away from the ring
// and the hole.
inline render::WheelView ViewOf(const Wheel& wheel, int wheelCount = 1) {
  render::WheelView view;
  view.wheel = &wheel;
  view.wheelCount = static_cast<std::size_t>(wheelCount);
  view.cursorX = 2;
  view.cursorY = 2;
  return view;
}

}  // namespace velmor::test
