#include "engine/core/key_names.h"

#include <array>

#include "engine/core/text.h"
#include "engine/platform/keyboard_layout.h"

namespace velmor {

namespace {

struct KeyEntry {
  std::u16string_view name;
  std::uint16_t vk;
  bool extended;
};

constexpr std::array<KeyEntry, 31> kKeyTable = {{
    {u"space", 0x20, false},      {u"spacja", 0x20, false},    {u"enter", 0x0D, false},
    {u"tab", 0x09, false},        {u"esc", 0x1B, false},       {u"escape", 0x1B, false},
    {u"capslock", 0x14, false},   {u"caps", 0x14, false},      {u"backspace", 0x08, false},
    {u"shift", 0x10, false},      {u"ctrl", 0x11, false},      {u"alt", 0x12, false},
    {u"up", 0x26, true},          {u"down", 0x28, true},       {u"left", 0x25, true},
    {u"right", 0x27, true},       {u"home", 0x24, true},       {u"end", 0x23, true},
    {u"pageup", 0x21, true},      {u"pagedown", 0x22, true},   {u"win", 0x5B, true},
    {u"printscreen", 0x2C, true}, {u"prtsc", 0x2C, true},      {u"volumeup", 0xAF, true},
    {u"volumedown", 0xAE, true},  {u"volumemute", 0xAD, true}, {u"playpause", 0xB3, true},
    {u"nexttrack", 0xB0, true},   {u"prevtrack", 0xB1, true},  {u"insert", 0x2D, true},
    {u"delete", 0x2E, true},
}};

struct MouseEntry {
  std::u16string_view name;
  int button;
};

constexpr std::array<MouseEntry, 10> kMouseTable = {{
    {u"lmb", 0},
    {u"lpm", 0},
    {u"rmb", 1},
    {u"ppm", 1},
    {u"mmb", 2},
    {u"mpm", 2},
    {u"mb4", 3},
    {u"mouse4", 3},
    {u"mb5", 4},
    {u"mouse5", 4},
}};

// vpad control names; the code is the index plus one.
constexpr std::array<const char*, 16> kVpadNames = {"a",    "b",     "x",  "y",  "lb", "rb",
                                                    "back", "start", "l3", "r3", "up", "down",
                                                    "left", "right", "lt", "rt"};

struct PadEntry {
  std::u16string_view name;
  std::uint32_t mask;
};

constexpr std::array<PadEntry, 16> kPadTable = {{
    {u"a", 0x1000},
    {u"b", 0x2000},
    {u"x", 0x4000},
    {u"y", 0x8000},
    {u"lb", 0x0100},
    {u"rb", 0x0200},
    {u"back", 0x0020},
    {u"start", 0x0010},
    {u"l3", 0x0040},
    {u"r3", 0x0080},
    {u"up", 0x0001},
    {u"down", 0x0002},
    {u"left", 0x0004},
    {u"right", 0x0008},
    {u"lt", 0x10000},
    {u"rt", 0x20000},
}};

struct ActionEntry {
  std::u16string_view word;
  StepKind kind;
};

constexpr std::array<ActionEntry, 15> kActionWords = {{
    {u"click", StepKind::Click},
    {u"klik", StepKind::Click},
    {u"hold", StepKind::Hold},
    {u"przytrzymaj", StepKind::Hold},
    {u"release", StepKind::Release},
    {u"pusc", StepKind::Release},
    {u"puść", StepKind::Release},
    {u"toggle", StepKind::Toggle},
    {u"przelacz", StepKind::Toggle},
    {u"przełącz", StepKind::Toggle},
    {u"readsel", StepKind::ReadSelection},
    {u"przeczytaj", StepKind::ReadSelection},
    {u"releaseall", StepKind::ReleaseAll},
    {u"puscwszystko", StepKind::ReleaseAll},
    {u"puść wszystko", StepKind::ReleaseAll},
}};

bool IsOneOf(std::u16string_view s, std::initializer_list<std::u16string_view> words) {
  for (auto w : words)
    if (s == w) return true;
  return false;
}

}  // namespace

std::optional<int> VpadControlCode(std::u16string_view name) {
  for (std::size_t i = 0; i < kVpadNames.size(); ++i)
    if (name == Utf8ToWide(kVpadNames[i])) return static_cast<int>(i) + 1;
  return std::nullopt;
}

const char* VpadControlName(int code) {
  if (code < 1 || code > 16) return nullptr;
  return kVpadNames[static_cast<std::size_t>(code) - 1];
}

KeySpec ResolveKeyName(std::u16string_view raw) {
  KeySpec k;
  k.name = Trim(raw);
  const std::u16string& name = k.name;
  if (name.empty()) return k;

  if (name.size() == 1) {
    char16_t c = ToUpperChar(name[0]);
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')) {
      k.vk = c;
      k.valid = true;
      return k;
    }
    if (auto vk = platform::VkForChar(c)) {
      k.vk = *vk;
      k.valid = *vk != 0;
    }
    return k;
  }

  const std::u16string lower = ToLower(name);
  if (lower.rfind(u"vpad:", 0) == 0) {
    if (auto code = VpadControlCode(std::u16string_view(lower).substr(5))) {
      k.vpad = *code;
      k.valid = true;
    }
    return k;
  }
  if (IsOneOf(lower, {u"koło", u"kolo", u"wheel"})) {
    k.wheelTarget = k.valid = true;
    return k;
  }
  if (IsOneOf(lower, {u"kierownica", u"steer", u"wheelsteer"})) {
    k.steerTarget = k.valid = true;
    return k;
  }
  if (IsOneOf(lower, {u"wyłącz", u"wylacz", u"off", u"nic", u"none"})) {
    k.offTarget = k.valid = true;
    return k;
  }
  for (const auto& m : kMouseTable) {
    if (lower == m.name) {
      k.isMouse = k.valid = true;
      k.mouseButton = m.button;
      return k;
    }
  }
  if (lower.size() <= 3 && lower[0] == u'f' && lower[1] >= u'0' && lower[1] <= u'9') {
    int n = 0;
    for (std::size_t i = 1; i < lower.size(); ++i) {
      if (lower[i] < u'0' || lower[i] > u'9') return k;  // "f1x" is no function key
      n = n * 10 + (lower[i] - u'0');
    }
    if (n >= 1 && n <= 24) {
      k.vk = static_cast<std::uint16_t>(0x6F + n);
      k.valid = true;
    }
    return k;
  }
  for (const auto& e : kKeyTable) {
    if (lower == e.name) {
      k.vk = e.vk;
      k.extended = e.extended;
      k.valid = true;
      return k;
    }
  }
  return k;
}

KeySpec KeyForVk(std::uint16_t vk) {
  KeySpec k;
  if (vk == 0 || vk >= 255) return k;
  k.vk = vk;
  k.valid = true;
  for (const auto& e : kKeyTable) {
    if (e.vk == vk) {
      k.extended = e.extended;
      k.name = std::u16string(e.name);
      break;
    }
  }
  return k;
}

const char* StepKindWord(StepKind kind) {
  switch (kind) {
    case StepKind::Click:
      return "click";
    case StepKind::Hold:
      return "hold";
    case StepKind::Release:
      return "release";
    case StepKind::Open:
      return "open";
    case StepKind::Toggle:
      return "toggle";
    case StepKind::ReadSelection:
      return "readsel";
    case StepKind::ReleaseAll:
      return "releaseall";
    case StepKind::Call:
      return "call";
    case StepKind::Wheel:
      return "wheel";
    case StepKind::Map:
      return "map";
    case StepKind::Profile:
      return "profile";
    case StepKind::Wait:
      return "wait";
  }
  return "?";
}

std::optional<StepKind> ParseStepAction(std::u16string_view word) {
  const std::u16string lower = ToLower(word);
  for (const auto& a : kActionWords)
    if (lower == a.word) return a.kind;
  return std::nullopt;
}

std::optional<std::uint32_t> PadButtonMask(std::u16string_view name) {
  const std::u16string lower = ToLower(name);
  for (const auto& p : kPadTable)
    if (lower == p.name) return p.mask;
  return std::nullopt;
}

const char16_t* PadButtonName(std::uint32_t mask) {
  for (const auto& p : kPadTable)
    if (p.mask == mask) return p.name.data();
  return nullptr;
}

std::uint32_t HeldKeyId(const KeySpec& key) {
  if (key.vpad) return static_cast<std::uint32_t>(key.vpad) | 0x20000u;
  if (key.isMouse) return static_cast<std::uint32_t>(key.mouseButton) | 0x10000u;
  return key.vk;
}

std::u16string HeldKeyLabel(const KeySpec& key) {
  std::u16string label = key.name;
  if (label.empty()) label = NumberToText(key.vk);
  if (label.size() == 1) label[0] = ToUpperChar(label[0]);
  return label;
}

}  // namespace velmor
