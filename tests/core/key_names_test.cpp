// Tests of the key-name resolver, the action words, the pad and virtual-pad
// name tables and held-key identity. The fake backend types with a US layout.

#include "engine/core/key_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/text.h"

namespace velmor {
namespace {

// Every target a KeySpec carries, so a case also catches a second one set by
// mistake: "vk:0D", "vk:26+E", "mouse:3", "vpad:15", "wheel", "steer", "off".
std::string Describe(const KeySpec& k) {
  if (!k.valid) return "invalid";
  std::string out;
  auto add = [&out](const std::string& part) {
    if (!out.empty()) out += ' ';
    out += part;
  };
  char buf[32];
  if (k.vk != 0) {
    std::snprintf(buf, sizeof buf, "vk:%02X%s", static_cast<unsigned>(k.vk),
                  k.extended ? "+E" : "");
    add(buf);
  } else if (k.extended) {
    add("extended-without-vk");
  }
  if (k.isMouse) {
    add("mouse:" + std::to_string(k.mouseButton));
  } else if (k.mouseButton != 0) {
    add("button-without-mouse:" + std::to_string(k.mouseButton));
  }
  if (k.vpad != 0) add("vpad:" + std::to_string(k.vpad));
  if (k.wheelTarget) add("wheel");
  if (k.steerTarget) add("steer");
  if (k.offTarget) add("off");
  if (k.sequence) add("sequence");
  return out.empty() ? "valid-but-empty" : out;
}

struct ResolveCase {
  std::u16string name;
  std::string expected;
};

void CheckResolve(const std::vector<ResolveCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE("name \"" + WideToUtf8(c.name) + "\"");
    EXPECT_EQ(Describe(ResolveKeyName(c.name)), c.expected);
  }
}

TEST(KeyNamesTest, SingleCharacters) {
  CheckResolve({
      {u"a", "vk:41"},
      {u"A", "vk:41"},
      {u"z", "vk:5A"},
      {u"Z", "vk:5A"},
      {u"0", "vk:30"},
      {u"5", "vk:35"},
      {u"9", "vk:39"},
      {u"x", "vk:58"},
      // Everything else goes through the keyboard layout.
      {u"-", "vk:BD"},
      {u"/", "vk:BF"},
      {u",", "vk:BC"},
      {u".", "vk:BE"},
      {u";", "vk:BA"},
      {u"=", "vk:BB"},
      {u"[", "vk:DB"},
      {u"]", "vk:DD"},
      {u"\\", "vk:DC"},
      {u"'", "vk:DE"},
      {u"`", "vk:C0"},
      // The shift state the layout reports is ignored.
      {u"?", "vk:BF"},
      {u"!", "vk:31"},
      {u"_", "vk:BD"},
      // Characters no key of the layout types.
      {u"ą", "invalid"},
      {u"Ą", "invalid"},
      {u"€", "invalid"},
      {u"é", "invalid"},
      {u"ж", "invalid"},
  });
}

TEST(KeyNamesTest, TrimmingAndEmptyNames) {
  CheckResolve({
      {u" Enter ", "vk:0D"},
      {u"\tenter\r\n", "vk:0D"},
      {u"\u00A0enter\u3000", "vk:0D"},  // no-break and ideographic spaces
      {u"  a  ", "vk:41"},
      {u"", "invalid"},
      {u"   ", "invalid"},
      {u"\u00A0", "invalid"},
      {u"en ter", "invalid"},
  });
}

TEST(KeyNamesTest, FunctionKeys) {
  CheckResolve({
      {u"F1", "vk:70"},
      {u"f1", "vk:70"},
      {u"f9", "vk:78"},
      {u"F10", "vk:79"},
      {u"f12", "vk:7B"},
      {u"f13", "vk:7C"},
      {u"F24", "vk:87"},
      {u"f0", "invalid"},
      {u"f25", "invalid"},
      {u"f99", "invalid"},
      {u"f100", "invalid"},
      {u"fx", "invalid"},
      {u"f", "vk:46"},  // one character: the letter key
  });
}

TEST(KeyNamesTest, KeyTable) {
  CheckResolve({
      {u"space", "vk:20"},
      {u"spacja", "vk:20"},
      {u"Spacja", "vk:20"},
      {u"SPACE", "vk:20"},
      {u"enter", "vk:0D"},
      {u"tab", "vk:09"},
      {u"esc", "vk:1B"},
      {u"escape", "vk:1B"},
      {u"capslock", "vk:14"},
      {u"caps", "vk:14"},
      {u"backspace", "vk:08"},
      {u"shift", "vk:10"},
      {u"ctrl", "vk:11"},
      {u"CTRL", "vk:11"},
      {u"alt", "vk:12"},
      {u"up", "vk:26+E"},
      {u"down", "vk:28+E"},
      {u"left", "vk:25+E"},
      {u"right", "vk:27+E"},
      {u"home", "vk:24+E"},
      {u"end", "vk:23+E"},
      {u"pageup", "vk:21+E"},
      {u"pagedown", "vk:22+E"},
      {u"win", "vk:5B+E"},
      {u"printscreen", "vk:2C+E"},
      {u"prtsc", "vk:2C+E"},
      {u"volumeup", "vk:AF+E"},
      {u"volumedown", "vk:AE+E"},
      {u"volumemute", "vk:AD+E"},
      {u"playpause", "vk:B3+E"},
      {u"nexttrack", "vk:B0+E"},
      {u"prevtrack", "vk:B1+E"},
      {u"insert", "vk:2D+E"},
      {u"delete", "vk:2E+E"},
      {u"PageDown", "vk:22+E"},
      // Near misses are not names.
      {u"return", "invalid"},
      {u"control", "invalid"},
      {u"del", "invalid"},
      {u"page up", "invalid"},
      {u"spacebar", "invalid"},
      {u"shift+a", "invalid"},
      {u"pad:a", "invalid"},
  });
}

TEST(KeyNamesTest, MouseButtons) {
  CheckResolve({
      {u"lmb", "mouse:0"},
      {u"LPM", "mouse:0"},
      {u"rmb", "mouse:1"},
      {u"ppm", "mouse:1"},
      {u"mmb", "mouse:2"},
      {u"Mpm", "mouse:2"},
      {u"mb4", "mouse:3"},
      {u"MB4", "mouse:3"},
      {u"mouse4", "mouse:3"},
      {u"mb5", "mouse:4"},
      {u"Mouse5", "mouse:4"},
      {u"mouse1", "invalid"},
      {u"mb3", "invalid"},
  });
}

TEST(KeyNamesTest, SpecialTargets) {
  CheckResolve({
      {u"koło", "wheel"},
      {u"Koło", "wheel"},
      {u"KOŁO", "wheel"},
      {u"KOLO", "wheel"},
      {u"kolo", "wheel"},
      {u"Wheel", "wheel"},
      {u"kierownica", "steer"},
      {u"Kierownica", "steer"},
      {u"steer", "steer"},
      {u"WheelSteer", "steer"},
      {u"wyłącz", "off"},
      {u"WYŁĄCZ", "off"},
      {u"wylacz", "off"},
      {u"off", "off"},
      {u"nic", "off"},
      {u"NONE", "off"},
      {u" none ", "off"},
      {u"nothing", "invalid"},
  });
}

const char* const kVpadNames[16] = {"a",  "b",  "x",  "y",    "lb",   "rb",    "back", "start",
                                    "l3", "r3", "up", "down", "left", "right", "lt",   "rt"};

TEST(KeyNamesTest, VpadControls) {
  for (int code = 1; code <= 16; ++code) {
    const std::string name = kVpadNames[code - 1];
    SCOPED_TRACE(name);
    EXPECT_EQ(VpadControlCode(W(name)), code);
    ASSERT_NE(VpadControlName(code), nullptr);
    EXPECT_STREQ(VpadControlName(code), name.c_str());
    EXPECT_EQ(Describe(ResolveKeyName(W("vpad:" + name))), "vpad:" + std::to_string(code));
  }
  EXPECT_EQ(VpadControlName(0), nullptr);
  EXPECT_EQ(VpadControlName(17), nullptr);
  EXPECT_EQ(VpadControlName(-1), nullptr);
  EXPECT_FALSE(VpadControlCode(u"z").has_value());
  EXPECT_FALSE(VpadControlCode(u"").has_value());
  EXPECT_FALSE(VpadControlCode(u"lt2").has_value());

  CheckResolve({
      {u"vpad:LT", "vpad:15"},
      {u"VPAD:a", "vpad:1"},
      {u" vpad:rt ", "vpad:16"},
      {u"vpad:", "invalid"},
      {u"vpad:z", "invalid"},
      {u"vpad:enter", "invalid"},
      {u"vpad:lmb", "invalid"},
      {u"vpad", "invalid"},
  });
}

TEST(KeyNamesTest, NameIsKeptTrimmedInTheCaseWritten) {
  EXPECT_EQ(ResolveKeyName(u"  Enter \t").name, u"Enter");
  EXPECT_EQ(ResolveKeyName(u"a").name, u"a");
  EXPECT_EQ(ResolveKeyName(u"VPAD:Lt").name, u"VPAD:Lt");
  EXPECT_EQ(ResolveKeyName(u" Koło ").name, u"Koło");
}

struct ActionCase {
  std::u16string word;
  std::optional<StepKind> kind;
};

TEST(KeyNamesTest, ActionWords) {
  const std::vector<ActionCase> cases = {
      {u"click", StepKind::Click},
      {u"CLICK", StepKind::Click},
      {u"klik", StepKind::Click},
      {u"hold", StepKind::Hold},
      {u"przytrzymaj", StepKind::Hold},
      {u"release", StepKind::Release},
      {u"pusc", StepKind::Release},
      {u"puść", StepKind::Release},
      {u"PUŚĆ", StepKind::Release},
      {u"toggle", StepKind::Toggle},
      {u"przelacz", StepKind::Toggle},
      {u"Przełącz", StepKind::Toggle},
      {u"readsel", StepKind::ReadSelection},
      {u"przeczytaj", StepKind::ReadSelection},
      {u"releaseall", StepKind::ReleaseAll},
      {u"ReleaseAll", StepKind::ReleaseAll},
      {u"puscwszystko", StepKind::ReleaseAll},
      {u"puść wszystko", StepKind::ReleaseAll},
      {u"Puść Wszystko", StepKind::ReleaseAll},
      {u"press", std::nullopt},
      {u"tap", std::nullopt},
      {u"open", std::nullopt},
      {u"wait", std::nullopt},
      {u"release all", std::nullopt},
      {u"puscwszystkie", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.word));
    const auto kind = ParseStepAction(c.word);
    ASSERT_EQ(kind.has_value(), c.kind.has_value());
    if (kind) {
      EXPECT_EQ(*kind, *c.kind);
    }
  }
}

TEST(KeyNamesTest, StepKindWordsAreDistinct) {
  std::set<std::string> seen;
  for (int k = 0; k <= 11; ++k) {
    const char* word = StepKindWord(static_cast<StepKind>(k));
    ASSERT_NE(word, nullptr) << k;
    EXPECT_NE(std::string(word), "") << k;
    EXPECT_TRUE(seen.insert(word).second) << "duplicate word " << word;
  }
}

TEST(KeyNamesTest, PadButtonMasks) {
  const std::vector<std::pair<std::u16string, std::uint32_t>> table = {
      {u"a", 0x1000},    {u"b", 0x2000},     {u"x", 0x4000},    {u"y", 0x8000},
      {u"lb", 0x0100},   {u"rb", 0x0200},    {u"back", 0x0020}, {u"start", 0x0010},
      {u"l3", 0x0040},   {u"r3", 0x0080},    {u"up", 0x0001},   {u"down", 0x0002},
      {u"left", 0x0004}, {u"right", 0x0008}, {u"lt", 0x10000},  {u"rt", 0x20000},
  };
  for (const auto& [name, mask] : table) {
    SCOPED_TRACE(WideToUtf8(name));
    const auto got = PadButtonMask(name);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, mask);
  }
  EXPECT_FALSE(PadButtonMask(u"zz").has_value());
  EXPECT_FALSE(PadButtonMask(u"").has_value());
  EXPECT_FALSE(PadButtonMask(u"lmb").has_value());
  EXPECT_FALSE(PadButtonMask(u"guide").has_value());
}

TEST(KeyNamesTest, HeldKeyIdentityOrdersKeysMouseThenVpad) {
  const KeySpec key = ResolveKeyName(u"a");
  const KeySpec f24 = ResolveKeyName(u"f24");
  const KeySpec left = ResolveKeyName(u"lmb");
  const KeySpec x1 = ResolveKeyName(u"mb4");
  const KeySpec vpadA = ResolveKeyName(u"vpad:a");
  const KeySpec vpadLb = ResolveKeyName(u"vpad:lb");

  EXPECT_EQ(HeldKeyId(key), 0x41u);
  EXPECT_EQ(HeldKeyId(f24), 0x87u);
  EXPECT_EQ(HeldKeyId(left), 0x10000u);  // left button is 0: still a mouse id
  EXPECT_EQ(HeldKeyId(x1), 0x10003u);
  EXPECT_EQ(HeldKeyId(vpadA), 0x20001u);
  EXPECT_EQ(HeldKeyId(vpadLb), 0x20005u);

  EXPECT_LT(HeldKeyId(f24), HeldKeyId(left));
  EXPECT_LT(HeldKeyId(x1), HeldKeyId(vpadA));
}

TEST(KeyNamesTest, HeldKeyLabels) {
  EXPECT_EQ(HeldKeyLabel(ResolveKeyName(u"a")), u"A");
  EXPECT_EQ(HeldKeyLabel(ResolveKeyName(u" z ")), u"Z");
  EXPECT_EQ(HeldKeyLabel(ResolveKeyName(u"-")), u"-");
  EXPECT_EQ(HeldKeyLabel(ResolveKeyName(u"Enter")), u"Enter");
  EXPECT_EQ(HeldKeyLabel(ResolveKeyName(u"lmb")), u"lmb");
  EXPECT_EQ(HeldKeyLabel(ResolveKeyName(u"vpad:lt")), u"vpad:lt");

  KeySpec polish;
  polish.vk = 0x41;
  polish.valid = true;
  polish.name = u"ż";
  EXPECT_EQ(HeldKeyLabel(polish), u"Ż");

  KeySpec unnamed;
  unnamed.vk = 0x41;
  unnamed.valid = true;
  EXPECT_EQ(HeldKeyLabel(unnamed), u"65");
  unnamed.vk = 0xBD;
  EXPECT_EQ(HeldKeyLabel(unnamed), u"189");
  unnamed.vk = 9;
  EXPECT_EQ(HeldKeyLabel(unnamed), u"9");
}

}  // namespace
}  // namespace velmor
