#pragma once

// The look both renderers share: colours and alphas of the overlay windows.
// Sizes and places are in engine/display/wheel_geometry.h.

#include <cstdint>

#include "engine/core/wheel_file.h"

namespace velmor::render::style {

// Wheel: hovered parts are opaque, the rest lets the desktop show through.
inline constexpr int kSliceAlphaHovered = 255;
inline constexpr int kSliceAlpha = 135;
inline constexpr int kOutlineAlphaHovered = 255;
inline constexpr int kOutlineAlpha = 180;
inline constexpr double kSliceOutlineWidth = 2.5;
inline constexpr double kControlOutlineWidth = 2;  // arrows and buttons
inline constexpr int kShadowAlphaHovered = 200;
inline constexpr int kShadowAlpha = 120;
inline constexpr double kShadowOffset = 1.5;
inline constexpr int kLabelAlphaHovered = 255;
inline constexpr int kLabelAlpha = 215;
inline constexpr int kGlyphAlphaHovered = 255;  // arrow triangles and button icons
inline constexpr int kGlyphAlpha = 220;
inline constexpr int kPageTextAlpha = 235;
inline constexpr int kWheelNameAlpha = 215;

inline constexpr int kLabelBoxWidth = 124;
inline constexpr int kLabelBoxHeight = 68;
inline constexpr int kIconSize = 42;
inline constexpr double kIconOpacity = 135.0 / 255;  // when not hovered
inline constexpr int kIconRaise = 11;                // when the field also has a name
inline constexpr int kIconNameTop = 11;              // name box top, below the label centre
inline constexpr int kIconNameHeight = 34;
inline constexpr int kIconNamePixels = 14;
inline constexpr int kPageTextPixels = 15;
inline constexpr int kWheelNamePixels = 13;
inline constexpr double kButtonCornerRadius = 9;  // arcs 18 across

inline constexpr double kDwellMinimum = 0.03;
inline constexpr double kDwellDiameter = 34;
inline constexpr double kDwellPenWidth = 3.5;
inline constexpr int kDwellTrackAlpha = 90;
inline constexpr int kDwellArcAlpha = 235;

inline const Rgb& FieldColor(const WheelAction& field, const Rgb& segmentColor) {
  return field.hasColor ? field.color : segmentColor;
}

// Launcher (ARGB).
inline constexpr std::uint32_t kLauncherFillHover = 0xE1101423;
inline constexpr std::uint32_t kLauncherFill = 0x91101423;
inline constexpr std::uint32_t kLauncherOutlineHover = 0xFF39D5C9;
inline constexpr std::uint32_t kLauncherOutline = 0xAA39D5C9;
inline constexpr std::uint32_t kLauncherEvenSlicesHover[3] = {0xFF39D5C9, 0x9639D5C9, 0x6439D5C9};
inline constexpr std::uint32_t kLauncherEvenSlices[3] = {0xC839D5C9, 0x6E39D5C9, 0x4639D5C9};
inline constexpr std::uint32_t kLauncherOddSliceHover = 0xE11B2340;
inline constexpr std::uint32_t kLauncherOddSlice = 0x911B2340;
inline constexpr std::uint32_t kLauncherProgress = 0xF039D5C9;

// Toast and held-keys bar (ARGB); text sizes in points.
inline constexpr int kToastHeight = 52;
inline constexpr int kToastPadding = 56;
inline constexpr double kToastPoints = 17;
inline constexpr double kToastCornerRadius = 14;
inline constexpr std::uint32_t kToastFill = 0xD7101423;
inline constexpr std::uint32_t kToastOutline = 0xFF39D5C9;
inline constexpr std::uint32_t kToastText = 0xFFE8ECFF;

inline constexpr int kBarHeight = 40;
inline constexpr int kBarPadding = 44;
inline constexpr double kBarPoints = 15;
inline constexpr double kBarCornerRadius = 12;
inline constexpr std::uint32_t kBarFill = 0xCD1A0E0A;
inline constexpr std::uint32_t kBarOutline = 0xFFEFA02F;
inline constexpr std::uint32_t kBarText = 0xFFF5C982;

}  // namespace velmor::render::style
