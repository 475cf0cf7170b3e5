#pragma once

// Mapping rules as the two rule files hold them: the source grammar, the
// global rule table keyed by source and gesture, the per-device rule list,
// and the readers of map.json and devmap.json. Pure: no locks, no files
// written, no input sent.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/key_names.h"
#include "engine/core/load_report.h"
#include "engine/core/wheel_file.h"

namespace velmor::mapping {

enum class Gesture : int { Single = 0, Double = 1, Hold = 2 };
enum class SourceKind : int { Keyboard = 0, Mouse = 1, Pad = 2 };

// What a rule produces: a resolved target name, or a step list (the
// `sequence` of the key, named "(sekwencja)").
using RuleTarget = KeySpec;
bool TargetSet(const RuleTarget& t);

// SourceId bits: the code (vk, mouse button 0..4 or pad mask) in 0-25, the
// gesture in 26-27, 28 a mouse source, 29 a pad source.
inline constexpr std::uint32_t kSourceMouse = 0x10000000;
inline constexpr std::uint32_t kSourcePad = 0x20000000;
inline constexpr std::uint32_t kGestureShift = 26;
inline constexpr std::uint32_t kGestureBits = 0x0C000000;
inline constexpr std::uint32_t kSourceCodeBits = 0x03FFFFFF;
inline std::uint32_t WithGesture(std::uint32_t code, Gesture g) {
  return (code & ~kGestureBits) | (static_cast<std::uint32_t>(g) << kGestureShift);
}
inline Gesture GestureOf(std::uint32_t id) {
  return static_cast<Gesture>((id & kGestureBits) >> kGestureShift);
}
inline std::uint32_t WithoutGesture(std::uint32_t id) {
  return id & ~kGestureBits;
}

// The source text lower-cased with its gesture suffix cut off. `trimLeading`
// is what map.json does; devmap.json keeps a leading space.
struct SourceText {
  std::u16string base;
  Gesture gesture = Gesture::Single;
};
SourceText SplitGesture(std::u16string_view src, bool trimLeading);

// A global source ("f5 x2", "lmb", "pad:a hold") to its SourceId; empty when
// the text names no key, mouse button or pad button.
std::optional<std::uint32_t> ParseGlobalSource(std::u16string_view src);

struct DeviceSource {
  SourceKind kind = SourceKind::Keyboard;
  std::uint32_t index = 0;
  Gesture gesture = Gesture::Single;
};
std::optional<DeviceSource> ParseDeviceSource(std::u16string_view src);

// "vid_046d&pid_c077" from any text holding both ids; "xac" and "global"
// unchanged; anything else lower-cased whole.
std::u16string NormalizeDeviceKey(std::u16string_view device);

// A scheme name fit to be a folder name under profiles; empty when nothing
// is left.
std::u16string SanitizeSchemeName(std::u16string_view name);

using GlobalRuleTable = std::map<std::uint32_t, RuleTarget>;

struct DeviceRule {
  std::u16string device;  // normalized device key
  SourceKind kind = SourceKind::Keyboard;
  std::uint32_t index = 0;
  Gesture gesture = Gesture::Single;
  RuleTarget target;
};
using DeviceRuleList = std::vector<DeviceRule>;

// One global rule as map.json states it, in file order; applying them in
// order gives the table (a later rule replaces an earlier one, an unset
// target removes it).
struct GlobalRuleText {
  std::u16string src;
  RuleTarget target;
};

// The rules of map.json's text (a byte-order mark already skipped). A text
// that is no rule document is read as a wheel file and its "map" steps are
// the rules.
std::vector<GlobalRuleText> ReadGlobalRules(std::u16string_view text, LoadReport* report = nullptr,
                                            const std::string& fileLabel = "map.json");

// Sets or erases one entry; false when the source does not parse.
bool ApplyGlobalRule(GlobalRuleTable& table, std::u16string_view src, const RuleTarget& target);

// The rules of devmap.json's text, cut into chunks at every "device" member.
DeviceRuleList ReadDeviceRules(std::u16string_view text, LoadReport* report = nullptr,
                               const std::string& fileLabel = "devmap.json");

// Names used by the device list, device learning and the checker.
const char16_t* MouseSourceName(std::uint32_t index);  // "lmb".."mb5", or nullptr
std::u16string SourceName(SourceKind kind, std::uint32_t index);
// "Mysz  VID_046D&PID_C077" style names; kind words Klawiatura, Mysz, Pad.
std::u16string DeviceDisplayName(SourceKind kind, std::u16string_view device);
const char* GestureWord(Gesture g);  // "single", "double", "hold"

}  // namespace velmor::mapping
