// The two rule files, the source grammar and the device key, read without
// an engine.

#include "engine/mapping/map_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/core/text.h"

namespace velmor::mapping {
namespace {

GlobalRuleTable TableOf(std::string_view json, LoadReport* report = nullptr) {
  GlobalRuleTable table;
  for (const auto& r : ReadGlobalRules(Utf8ToWide(json), report))
    ApplyGlobalRule(table, r.src, r.target);
  return table;
}

TEST(MapRules, GlobalSourceGrammar) {
  struct Case {
    const char* src;
    std::optional<std::uint32_t> id;
  };
  const Case cases[] = {
      {"f5", 0x74},
      {"  F5  X2 ", 0x74 | 0x04000000},
      {"f5 hold", 0x74 | 0x08000000},
      {"f5\thold", 0x74 | 0x08000000},
      {"f5x2", std::nullopt},  // no space: a name, and not a key
      {"x2", std::nullopt},    // too short for a suffix, and not a key name
      {"hold", std::nullopt},
      {"lmb x2", 0x14000000},
      {"mb5", 0x10000004},
      {"pad:a hold", 0x28001000},
      {"pad:lt", 0x20010000},
      {"pad:foo", std::nullopt},
      {"vpad:a", std::nullopt},  // a target, not a source
      {"none", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.src);
    EXPECT_EQ(ParseGlobalSource(Utf8ToWide(c.src)), c.id);
  }
}

TEST(MapRules, DeviceSourceGrammar) {
  struct Case {
    const char* src;
    bool ok;
    SourceKind kind;
    std::uint32_t index;
    Gesture gesture;
  };
  const Case cases[] = {
      {"lsl", true, SourceKind::Pad, 17, Gesture::Single},
      {"rsd x2", true, SourceKind::Pad, 24, Gesture::Double},
      {"btn17", true, SourceKind::Pad, 17, Gesture::Single},
      {"btn1", true, SourceKind::Pad, 1, Gesture::Single},
      {"btn64 hold", true, SourceKind::Pad, 64, Gesture::Hold},
      {"btn0", false, {}, 0, {}},
      {"btn65", false, {}, 0, {}},
      {"btn-3", false, {}, 0, {}},
      {"btnx", false, {}, 0, {}},
      {"btn7zz", true, SourceKind::Pad, 7, Gesture::Single},  // read like strtol
      {" btn3", false, {}, 0, {}},                            // a leading space fails the pad names
      {"mb4", true, SourceKind::Mouse, 3, Gesture::Single},
      {"Q", true, SourceKind::Keyboard, 0x51, Gesture::Single},
      {"nosuchkey", false, {}, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.src);
    const auto s = ParseDeviceSource(Utf8ToWide(c.src));
    ASSERT_EQ(s.has_value(), c.ok);
    if (!s) continue;
    EXPECT_EQ(s->kind, c.kind);
    EXPECT_EQ(s->index, c.index);
    EXPECT_EQ(s->gesture, c.gesture);
  }
}

TEST(MapRules, DeviceKeysAndSchemeNames) {
  EXPECT_EQ(NormalizeDeviceKey(u"\\\\?\\HID#VID_046D&PID_C077&MI_00#7&1a#{guid}"),
            u"vid_046d&pid_c077");
  EXPECT_EQ(NormalizeDeviceKey(u"vid_046d&pid_c077"), u"vid_046d&pid_c077");
  EXPECT_EQ(NormalizeDeviceKey(u"XAC"), u"xac");
  EXPECT_EQ(NormalizeDeviceKey(u"Some Mouse vid_04"), u"some mouse vid_04");  // too short

  EXPECT_EQ(SanitizeSchemeName(u" my:game. "), u"mygame");
  EXPECT_EQ(SanitizeSchemeName(u"..\\..\\x"), u"....x");
  EXPECT_EQ(SanitizeSchemeName(u"a/b*c?d\"e<f>g|h\ti\nj\rk"), u"abcdefghijk");
  EXPECT_EQ(SanitizeSchemeName(u" . . .. "), u"");
  EXPECT_EQ(SanitizeSchemeName(u"..."), u"");
}

TEST(MapRules, LaterRulesReplaceAndUnsetTargetsRemove) {
  const auto t = TableOf(R"({"rules":[
      {"src":"f5","to":"a"},{"src":"f5 x2","to":"b"},{"src":"f5 hold","to":"c"},
      {"src":"f5","to":"d"},
      {"src":"f6","to":"a"},{"src":"f6","to":"nosuchkey"},
      {"src":"f7","steps":[{"key":"a"},{"key":"b"}],"delay":12.9,"to":"x"},
      {"src":"f8","steps":[],"to":"x"},
      {"src":"f9","steps":[{"key":"nosuchkey"}],"to":"y"},
      {"src":5,"to":"a"},{"to":"a"},"junk",
      {"src":"pad:foo","to":"a"}]})");
  ASSERT_EQ(t.size(), 6u);
  EXPECT_EQ(t.at(0x74).vk, 'D');
  EXPECT_EQ(t.at(0x74 | 0x04000000).vk, 'B');
  EXPECT_EQ(t.at(0x74 | 0x08000000).vk, 'C');
  EXPECT_EQ(t.count(0x75), 0u);
  const auto& seq = t.at(0x76);
  ASSERT_TRUE(seq.sequence);
  EXPECT_EQ(seq.sequence->size(), 2u);
  EXPECT_EQ(seq.sequenceDelay, 12);
  EXPECT_EQ(seq.name, u"(sekwencja)");
  // An empty or fully invalid step list gives way to "to".
  EXPECT_EQ(t.at(0x77).vk, 'X');
  EXPECT_EQ(t.at(0x78).vk, 'Y');
}

TEST(MapRules, DocumentsThatAreNoRuleFileFallBackToWheelMapSteps) {
  const char* wheel = R"({"wheels":[{"name":"W","actions":[
      {"name":"on","steps":[{"map":"f6","to":"space"},{"map":"f7","to":"ctrl+c"}]}]}]})";
  const auto t = TableOf(wheel);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t.at(0x75).vk, 0x20);

  // Not an object, "rules" not an array, trailing text: no rule document.
  for (const char* text :
       {"[]", R"({"rules":{}})", R"({"rules":[{"src":"f5","to":"a"}]} x)", "", "{", "\xff\xfe"}) {
    SCOPED_TRACE(text);
    LoadReport report;
    EXPECT_TRUE(TableOf(text, &report).empty());
  }
}

TEST(MapRules, DeviceFileChunkScanner) {
  const char* text = R"({"rules":[
    {"device":"\\\\?\\HID#VID_046D&PID_C077&MI_00#7","src":"mb4","to":"a"},
    {"device":"XAC","src":"btn17 x2","steps":[{"key":"b"}],"to":"c"},
    {"device":"xac","src":"btn3","steps":[],"to":"c"},
    {"device":"xac","src":"btn2","steps":[{"text":"a \"[x]\" ]"}],"to":"d"},
    {"device":"xac","src":"btn0","to":"a"},
    {"device":"xac","src":"btn65","to":"a"},
    {"device":"","src":"btn1","to":"a"},
    {"device":"xac","src":"btn1","to":"nosuchkey"},
    {"device":"xac","src":"a\"b","to":"a"}
  ]})";
  LoadReport report;
  const auto rules = ReadDeviceRules(Utf8ToWide(text), &report);
  ASSERT_EQ(rules.size(), 4u);
  EXPECT_EQ(rules[0].device, u"vid_046d&pid_c077");
  EXPECT_EQ(rules[0].kind, SourceKind::Mouse);
  EXPECT_EQ(rules[0].index, 3u);
  EXPECT_EQ(rules[1].device, u"xac");
  EXPECT_EQ(rules[1].index, 17u);
  EXPECT_EQ(rules[1].gesture, Gesture::Double);
  ASSERT_TRUE(rules[1].target.sequence);  // steps win over "to"
  EXPECT_EQ(rules[2].target.vk, 'C');     // an empty "steps" gives way to "to"
  // Brackets inside a string do not end the steps; the list had no valid
  // step, so "to" is used.
  EXPECT_EQ(rules[3].index, 2u);
  EXPECT_EQ(rules[3].target.vk, 'D');
  EXPECT_FALSE(report.problems().empty());

  // No "device" member at all, or a broken tail: no rule, no crash.
  EXPECT_TRUE(ReadDeviceRules(u"{\"rules\":[{\"src\":\"btn1\",\"to\":\"a\"}]}").empty());
  EXPECT_TRUE(ReadDeviceRules(u"\"device\":\"xac\",\"src\":\"btn1\",\"steps\":[[[").empty());
}

TEST(MapRules, SourceAndDisplayNames) {
  EXPECT_EQ(SourceName(SourceKind::Mouse, 3), u"mb4");
  EXPECT_EQ(SourceName(SourceKind::Pad, 17), u"lsl");
  EXPECT_EQ(SourceName(SourceKind::Pad, 24), u"rsd");
  EXPECT_EQ(SourceName(SourceKind::Pad, 25), u"btn25");
  EXPECT_EQ(SourceName(SourceKind::Keyboard, 0x41), u"");
  EXPECT_EQ(DeviceDisplayName(SourceKind::Mouse, u"\\\\?\\hid#vid_046d&pid_c077#7"),
            u"Mysz  VID_046D&PID_C077");
  EXPECT_EQ(DeviceDisplayName(SourceKind::Keyboard, u"usb#kbd"), u"Klawiatura");
  EXPECT_EQ(DeviceDisplayName(SourceKind::Pad, u"x pid_12"), u"Pad&PID_12");
}

}  // namespace
}  // namespace velmor::mapping
