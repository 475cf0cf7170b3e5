#pragma once

// One resolver for every name of an input the engine produces: wheel-step
// keys, "map" step targets, mapping-rule targets and the toggle key.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

struct Step;

enum class MouseButton : int { Left = 0, Right = 1, Middle = 2, X1 = 3, X2 = 4 };

struct KeySpec {
  std::uint16_t vk = 0;  // Windows virtual-key code; 0 when not a key
  bool extended = false;
  bool isMouse = false;
  int mouseButton = 0;  // MouseButton value when isMouse
  int vpad = 0;         // virtual-pad control 1..16, 0 = none
  bool wheelTarget = false;
  bool steerTarget = false;
  bool offTarget = false;
  // Set only by mapping rules whose target is a step list.
  std::shared_ptr<const std::vector<Step>> sequence;
  int sequenceDelay = 30;  // ms between the sequence's steps
  bool valid = false;
  std::u16string name;  // as written, trimmed, in the case written
};

// Trims, then resolves case-insensitively. Never reports; an unresolvable
// name gives valid == false and each caller decides what that means.
KeySpec ResolveKeyName(std::u16string_view name);

// The key of a virtual-key code as a target (the extended flag from the
// name table); valid for any code 1..254.
KeySpec KeyForVk(std::uint16_t vk);

// The step kinds of wheel fields, mapping sequences and voice commands, in
// the engine's internal order.
enum class StepKind : int {
  Click = 0,
  Hold = 1,
  Release = 2,
  Open = 3,
  Toggle = 4,
  ReadSelection = 5,
  ReleaseAll = 6,
  Call = 7,
  Wheel = 8,
  Map = 9,
  Profile = 10,
  Wait = 11,
};

// The word used for a kind in reports and the checker's output.
const char* StepKindWord(StepKind kind);

// Action word of a key step (English or Polish, any case) to its kind; empty
// when the word is not an action word. Callers treat a missing "action" as
// "click".
std::optional<StepKind> ParseStepAction(std::u16string_view word);

// Pad button name (after "pad:" in the toggle key) to its XInput-style mask.
std::optional<std::uint32_t> PadButtonMask(std::u16string_view name);
// The name of a pad button mask, or nullptr.
const char16_t* PadButtonName(std::uint32_t mask);

// Virtual-pad control name (after "vpad:") to its code 1..16.
std::optional<int> VpadControlCode(std::u16string_view name);
// The name of a virtual-pad control code, or nullptr.
const char* VpadControlName(int code);

// Identity of a held key: vpad code | 0x20000, mouse button | 0x10000, else
// the vk. The held-keys table is ordered by it.
std::uint32_t HeldKeyId(const KeySpec& key);

// Label of a held key in the held-keys bar: the name, or the decimal vk when
// the name is empty; a one-character label is upper-cased.
std::u16string HeldKeyLabel(const KeySpec& key);

}  // namespace velmor
