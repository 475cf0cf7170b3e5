// Tests of the wheel-file reader: both root forms, field members, the step
// kinds and their clamps, the field limit, the report, and the first-run texts.

#include "engine/core/wheel_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/text.h"
#include "support/temp_dir.h"

namespace velmor {
namespace {

std::string KeyText(const KeySpec& k) {
  if (!k.valid) return "invalid";
  char buf[32];
  if (k.isMouse) return "mouse:" + std::to_string(k.mouseButton);
  if (k.vpad) return "vpad:" + std::to_string(k.vpad);
  std::snprintf(buf, sizeof buf, "vk:%02X", static_cast<unsigned>(k.vk));
  return buf;
}

struct Loaded {
  bool ok = false;
  WheelList wheels;
};

Loaded Load(std::string_view json, std::size_t limit = kWheelFieldLimit) {
  Loaded l;
  l.ok = LoadWheelText(json, l.wheels, limit);
  return l;
}

// The steps of the only field of the only wheel of {"actions":[field]}.
std::vector<Step> StepsOf(const std::string& field) {
  Loaded l = Load("{\"actions\":[" + field + "]}");
  EXPECT_TRUE(l.ok);
  if (l.wheels.size() != 1 || l.wheels[0].fields.size() != 1) {
    ADD_FAILURE() << "expected one wheel with one field";
    return {};
  }
  return l.wheels[0].fields[0].steps;
}

std::vector<std::string> ClickKeys(const std::vector<Step>& steps) {
  std::vector<std::string> out;
  for (const auto& s : steps) {
    EXPECT_EQ(s.kind, StepKind::Click);
    EXPECT_EQ(s.value, 1);
    out.push_back(KeyText(s.key));
  }
  return out;
}

std::string Fields(int n, int first = 0) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    if (i) s += ",";
    s += "{\"name\":\"F" + std::to_string(first + i) + "\",\"key\":\"a\"}";
  }
  return s;
}

struct RootCase {
  const char* label;
  std::string json;
  bool ok;
  std::vector<std::u16string> names;  // one per loaded wheel
};

TEST(WheelFileTest, RootForms) {
  const std::vector<RootCase> cases = {
      {"single list gives one unnamed wheel", R"({"actions":[{"name":"a"}]})", true, {u""}},
      {"empty single list gives no wheel", R"({"actions":[]})", true, {}},
      {"wheels form",
       R"({"wheels":[{"name":"W1","actions":[{}]},{"name":"W2","actions":[{},{}]}]})",
       true,
       {u"W1", u"W2"}},
      {"wheel without name", R"({"wheels":[{"actions":[{}]}]})", true, {u""}},
      {"wheel name of wrong type", R"({"wheels":[{"name":5,"actions":[{}]}]})", true, {u""}},
      {"wheel without fields is dropped quietly",
       R"({"wheels":[{"name":"E","actions":[]},{"name":"F","actions":[{}]}]})",
       true,
       {u"F"}},
      {"string element skipped", R"({"wheels":["x",{"name":"B","actions":[{}]}]})", false, {u"B"}},
      {"element without actions skipped",
       R"({"wheels":[{"name":"A"},{"name":"B","actions":[{}]}]})",
       false,
       {u"B"}},
      {"actions not an array",
       R"({"wheels":[{"name":"A","actions":{}},{"name":"B","actions":[{}]}]})",
       false,
       {u"B"}},
      {"wheels wins over actions",
       R"({"wheels":[{"name":"W","actions":[{}]}],"actions":[{}]})",
       true,
       {u"W"}},
      {"empty wheels array still wins", R"({"actions":[{}],"wheels":[]})", true, {}},
      {"wheels not an array falls back to actions", R"({"wheels":{},"actions":[{}]})", true, {u""}},
      {"first of duplicate members", R"({"actions":[{}],"actions":[{},{}]})", true, {u""}},
      {"neither form", R"({})", false, {}},
      {"actions of wrong type", R"({"actions":{}})", false, {}},
      {"top-level array", R"([{"actions":[{}]}])", false, {}},
      {"top-level string", R"("actions")", false, {}},
      {"trailing comma", R"({"actions":[{}],})", false, {}},
      {"comment", "// wheels\n{\"actions\":[{}]}", false, {}},
      {"text after the value", R"({"actions":[{}]} x)", false, {}},
      {"whitespace after the value", "{\"actions\":[{}]}\r\n\t ", true, {u""}},
      {"empty text", "", false, {}},
      {"byte-order mark", "\xEF\xBB\xBF{\"actions\":[{}]}", true, {u""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Loaded l = Load(c.json);
    EXPECT_EQ(l.ok, c.ok);
    std::vector<std::u16string> names;
    for (const auto& w : l.wheels) {
      names.push_back(w.name);
      EXPECT_FALSE(w.fields.empty());
    }
    EXPECT_EQ(names, c.names);
  }
}

TEST(WheelFileTest, OutputIsClearedFirst) {
  WheelList list(3);
  list[0].fields.resize(1);
  EXPECT_FALSE(LoadWheelText("{", list, kWheelFieldLimit));
  EXPECT_TRUE(list.empty());

  list.resize(2);
  ASSERT_TRUE(LoadWheelText(R"({"actions":[{"name":"only"}]})", list, kWheelFieldLimit));
  ASSERT_EQ(list.size(), 1u);
  ASSERT_EQ(list[0].fields.size(), 1u);
  EXPECT_EQ(list[0].fields[0].name, u"only");
}

TEST(WheelFileTest, WheelsAndFieldsKeepFileOrder) {
  Loaded l = Load(R"({"wheels":[
      {"name":"Zeta","actions":[{"name":"c"},{"name":"a"},{"name":"b"}]},
      {"name":"Alfa","actions":[{"name":"x"}]}]})");
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.wheels.size(), 2u);
  EXPECT_EQ(l.wheels[0].name, u"Zeta");
  EXPECT_EQ(l.wheels[1].name, u"Alfa");
  ASSERT_EQ(l.wheels[0].fields.size(), 3u);
  EXPECT_EQ(l.wheels[0].fields[0].name, u"c");
  EXPECT_EQ(l.wheels[0].fields[1].name, u"a");
  EXPECT_EQ(l.wheels[0].fields[2].name, u"b");
}

TEST(WheelFileTest, LongWheelIsCutToTheLimit) {
  Loaded cut = Load("{\"actions\":[" + Fields(30) + "]}");
  EXPECT_FALSE(cut.ok);
  ASSERT_EQ(cut.wheels.size(), 1u);
  ASSERT_EQ(cut.wheels[0].fields.size(), 24u);
  EXPECT_EQ(cut.wheels[0].fields.front().name, u"F0");
  EXPECT_EQ(cut.wheels[0].fields.back().name, u"F23");

  Loaded exact = Load("{\"actions\":[" + Fields(24) + "]}");
  EXPECT_TRUE(exact.ok);
  ASSERT_EQ(exact.wheels.size(), 1u);
  EXPECT_EQ(exact.wheels[0].fields.size(), 24u);

  // Command lists take far more.
  Loaded list = Load("{\"actions\":[" + Fields(30) + "]}", kCommandListFieldLimit);
  EXPECT_TRUE(list.ok);
  ASSERT_EQ(list.wheels.size(), 1u);
  EXPECT_EQ(list.wheels[0].fields.size(), 30u);

  Loaded big = Load("{\"actions\":[" + Fields(1001) + "]}", kCommandListFieldLimit);
  EXPECT_FALSE(big.ok);
  ASSERT_EQ(big.wheels.size(), 1u);
  EXPECT_EQ(big.wheels[0].fields.size(), 1000u);
}

TEST(WheelFileTest, CutWheelDoesNotStopTheOthers) {
  Loaded l = Load("{\"wheels\":[{\"name\":\"long\",\"actions\":[" + Fields(25) +
                  "]},{\"name\":\"short\",\"actions\":[" + Fields(2) + "]}]}");
  EXPECT_FALSE(l.ok);
  ASSERT_EQ(l.wheels.size(), 2u);
  EXPECT_EQ(l.wheels[0].fields.size(), 24u);
  EXPECT_EQ(l.wheels[1].fields.size(), 2u);
}

TEST(WheelFileTest, FieldMembers) {
  Loaded l = Load(R"({"actions":[
      {"name":"Przełącz","delay":120,"color":"#a1B2c3","icon":"icons/x.png","voice":"okno"},
      {},
      {"delay":-10,"color":"red"},
      {"delay":2500,"color":"#abc"},
      {"delay":12.9,"color":"#3498DBX"},
      {"delay":"100","color":5,"name":7,"icon":true,"voice":null},
      5,
      "text",
      [1]
  ]})");
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.wheels.size(), 1u);
  const auto& f = l.wheels[0].fields;
  // Fields that are no objects still take their place in the ring.
  ASSERT_EQ(f.size(), 9u);

  EXPECT_EQ(f[0].name, u"Przełącz");
  EXPECT_EQ(f[0].delay, 120);
  EXPECT_TRUE(f[0].hasColor);
  EXPECT_EQ(f[0].color, (Rgb{0xA1, 0xB2, 0xC3}));
  EXPECT_EQ(f[0].icon, u"icons/x.png");
  EXPECT_EQ(f[0].voice, u"okno");

  EXPECT_EQ(f[1].delay, 30);
  EXPECT_FALSE(f[1].hasColor);
  EXPECT_EQ(f[2].delay, 0);
  EXPECT_FALSE(f[2].hasColor);
  EXPECT_EQ(f[3].delay, 2000);
  EXPECT_FALSE(f[3].hasColor);
  EXPECT_EQ(f[4].delay, 12);
  EXPECT_FALSE(f[4].hasColor);

  EXPECT_EQ(f[5].delay, 30);
  EXPECT_FALSE(f[5].hasColor);
  EXPECT_EQ(f[5].name, u"");
  EXPECT_EQ(f[5].icon, u"");
  EXPECT_EQ(f[5].voice, u"");

  for (std::size_t i = 1; i < f.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(f[i].steps.empty());
    if (i >= 6) {
      EXPECT_EQ(f[i].name, u"");
      EXPECT_EQ(f[i].delay, 30);
    }
  }
}

TEST(WheelFileTest, OlderKeyForms) {
  // keys: a string, a number written in decimal, and an unusable entry.
  EXPECT_EQ(ClickKeys(StepsOf(R"({"keys":["a",5,true]})")),
            (std::vector<std::string>{"vk:41", "vk:35"}));
  EXPECT_EQ(ClickKeys(StepsOf(R"({"keys":["a","nosuchkey","b",0,12]})")),
            (std::vector<std::string>{"vk:41", "vk:42", "vk:30"}));
  EXPECT_EQ(ClickKeys(StepsOf(R"({"keys":"f5"})")), (std::vector<std::string>{"vk:74"}));
  EXPECT_EQ(ClickKeys(StepsOf(R"({"keys":7})")), (std::vector<std::string>{"vk:37"}));
  // A number is its integer, as the GUI reads it: 7.9 is the key 7, -1 no key.
  EXPECT_EQ(ClickKeys(StepsOf(R"({"keys":[7.9,-1,5e0]})")),
            (std::vector<std::string>{"vk:37", "vk:35"}));
  EXPECT_EQ(ClickKeys(StepsOf(R"({"key":"1"})")), (std::vector<std::string>{"vk:31"}));
  EXPECT_EQ(ClickKeys(StepsOf(R"({"key":["ctrl","lmb"]})")),
            (std::vector<std::string>{"vk:11", "mouse:0"}));
  EXPECT_TRUE(StepsOf(R"({"key":"nosuchkey"})").empty());
  EXPECT_TRUE(StepsOf(R"({"key":{}})").empty());
}

TEST(WheelFileTest, StepListFormsTakePrecedence) {
  // "steps" wins over "keys" and "key"; "keys" wins over "key".
  EXPECT_EQ(ClickKeys(StepsOf(R"({"keys":["a"],"steps":[{"key":"b"}],"key":"c"})")),
            (std::vector<std::string>{"vk:42"}));
  EXPECT_EQ(ClickKeys(StepsOf(R"({"key":"c","keys":["a"]})")), (std::vector<std::string>{"vk:41"}));
  // A present member decides even when it gives nothing.
  EXPECT_TRUE(StepsOf(R"({"steps":"b","keys":["a"],"key":"c"})").empty());
  EXPECT_TRUE(StepsOf(R"({"steps":[],"keys":["a"]})").empty());
  EXPECT_TRUE(StepsOf(R"({"keys":[],"key":"c"})").empty());
}

struct StepCase {
  std::string json;  // one step object
  bool kept;
  StepKind kind = StepKind::Click;
  std::optional<int> value = {};  // checked when set
  std::u16string text = {};       // checked for kinds with an argument
  std::string key = "";           // checked when not empty
};

TEST(WheelFileTest, StepKinds) {
  const std::vector<StepCase> cases = {
      {R"({"open":"https://example.org"})", true, StepKind::Open, {}, u"https://example.org"},
      {R"({"open":""})", false},
      {R"({"open":5})", false},
      {R"({"open":5,"key":"a"})", false},  // the deciding member is wrong, not skipped
      {R"({"call":"+48 123 456 789"})", true, StepKind::Call, {}, u"+48 123 456 789"},
      {R"({"call":""})", false},
      {R"({"wheel":"Kolo 2"})", true, StepKind::Wheel, {}, u"Kolo 2"},
      {R"({"wheel":null})", false},
      {R"({"profile":"wyścigi"})", true, StepKind::Profile, {}, u"wyścigi"},
      {R"({"profile":[]})", false},
      {R"({"map":"pad:lb","to":"space"})", true, StepKind::Map, {}, u"pad:lb", "vk:20"},
      {R"({"map":"pad:lb","to":"VPAD:A"})", true, StepKind::Map, {}, u"pad:lb", "vpad:1"},
      {R"({"map":"pad:lb"})", true, StepKind::Map, {}, u"pad:lb", "invalid"},
      {R"({"map":"pad:lb","to":""})", true, StepKind::Map, {}, u"pad:lb", "invalid"},
      {R"({"map":"pad:lb","to":5})", true, StepKind::Map, {}, u"pad:lb", "invalid"},
      {R"({"map":"pad:lb","to":"nosuchkey"})", true, StepKind::Map, {}, u"pad:lb", "invalid"},
      {R"({"map":""})", false},
      {R"({"wait":250})", true, StepKind::Wait, 250},
      {R"({"wait":250.9})", true, StepKind::Wait, 250},
      {R"({"wait":90000})", true, StepKind::Wait, 60000},
      {R"({"wait":-5})", true, StepKind::Wait, 0},
      {R"({"wait":1e300})", true, StepKind::Wait, 60000},
      {R"({"wait":"100"})", false},
      // The order of checks, not of members, decides.
      {R"({"wait":100,"open":"calc.exe"})", true, StepKind::Open, {}, u"calc.exe"},
      {R"({"key":"a","wait":100})", true, StepKind::Wait, 100},
      {R"({"profile":"p","map":"m"})", true, StepKind::Profile, {}, u"p"},
      {R"({"map":"m","wheel":"w"})", true, StepKind::Wheel, {}, u"w"},
      // Key steps.
      {R"({"key":"x"})", true, StepKind::Click, 1, u"", "vk:58"},
      {R"({"key":"x","action":"tap"})", true, StepKind::Click, 1, u"", "vk:58"},
      {R"({"key":"x","action":5})", true, StepKind::Click, 1, u"", "vk:58"},
      {R"({"key":"x","action":"klik","value":3})", true, StepKind::Click, 3, u"", "vk:58"},
      {R"({"key":"x","value":3.9})", true, StepKind::Click, 3, u"", "vk:58"},
      {R"({"key":"x","value":0})", true, StepKind::Click, 1, u"", "vk:58"},
      {R"({"key":"x","value":-2})", true, StepKind::Click, 1, u"", "vk:58"},
      {R"({"key":"x","value":500})", true, StepKind::Click, 100, u"", "vk:58"},
      {R"({"key":"x","value":"3"})", true, StepKind::Click, 1, u"", "vk:58"},
      {R"({"key":"alt","action":"hold"})", true, StepKind::Hold, 0, u"", "vk:12"},
      {R"({"key":"alt","action":"Przytrzymaj","value":1500})", true, StepKind::Hold, 1500, u"",
       "vk:12"},
      {R"({"key":"alt","action":"hold","value":-1})", true, StepKind::Hold, 0, u"", "vk:12"},
      {R"({"key":"alt","action":"hold","value":70000})", true, StepKind::Hold, 60000, u"", "vk:12"},
      {R"({"key":"alt","action":"release"})", true, StepKind::Release, 0, u"", "vk:12"},
      {R"({"key":"alt","action":"puść","value":-3})", true, StepKind::Release, 0, u"", "vk:12"},
      {R"({"key":"lmb","action":"toggle"})", true, StepKind::Toggle, 0, u"", "mouse:0"},
      {R"({"key":"vpad:lt","action":"HOLD"})", true, StepKind::Hold, 0, u"", "vpad:15"},
      {R"({"key":5})", true, StepKind::Click, 1, u"", "vk:35"},
      {R"({"key":"nosuchkey"})", false},
      {R"({"key":"nosuchkey","action":"hold"})", false},
      {R"({"action":"click"})", false},
      {R"({})", false},
      // These two act without a key.
      {R"({"action":"readsel"})", true, StepKind::ReadSelection},
      {R"({"key":"nosuchkey","action":"przeczytaj"})", true, StepKind::ReadSelection},
      {R"({"action":"releaseall"})", true, StepKind::ReleaseAll},
      {R"({"key":true,"action":"Puść Wszystko"})", true, StepKind::ReleaseAll},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    const auto steps = StepsOf("{\"steps\":[" + c.json + "]}");
    if (!c.kept) {
      EXPECT_TRUE(steps.empty());
      continue;
    }
    ASSERT_EQ(steps.size(), 1u);
    const Step& s = steps[0];
    EXPECT_EQ(static_cast<int>(s.kind), static_cast<int>(c.kind));
    if (c.value) {
      EXPECT_EQ(s.value, *c.value);
    }
    switch (c.kind) {
      case StepKind::Open:
      case StepKind::Call:
      case StepKind::Wheel:
      case StepKind::Map:
      case StepKind::Profile:
        EXPECT_EQ(s.text, c.text);
        break;
      default:
        break;
    }
    if (!c.key.empty()) {
      EXPECT_EQ(KeyText(s.key), c.key);
    }
  }
}

TEST(WheelFileTest, BadStepsAreDroppedButTheRestStays) {
  const auto steps = StepsOf(R"({"steps":[
      {"key":"ctrl","action":"hold"},
      {"open":""},
      {"key":"nosuchkey"},
      {"wait":50},
      {"key":"c"},
      {"key":"ctrl","action":"release"}]})");
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0].kind, StepKind::Hold);
  EXPECT_EQ(steps[1].kind, StepKind::Wait);
  EXPECT_EQ(steps[1].value, 50);
  EXPECT_EQ(steps[2].kind, StepKind::Click);
  EXPECT_EQ(KeyText(steps[2].key), "vk:43");
  EXPECT_EQ(steps[3].kind, StepKind::Release);
}

TEST(WheelFileTest, BadFieldsDoNotChangeTheResult) {
  Loaded l = Load(R"({"actions":[{"steps":[{"key":"nosuchkey"},{"open":""}]},{"keys":[true]},7]})");
  EXPECT_TRUE(l.ok);
  ASSERT_EQ(l.wheels.size(), 1u);
  EXPECT_EQ(l.wheels[0].fields.size(), 3u);
}

struct ColorCase {
  std::u16string text;
  std::optional<Rgb> rgb;
};

TEST(WheelFileTest, HexColors) {
  const std::vector<ColorCase> cases = {
      {u"#3498DB", Rgb{0x34, 0x98, 0xDB}},
      {u"#a1B2c3", Rgb{0xA1, 0xB2, 0xC3}},
      {u"#000000", Rgb{0, 0, 0}},
      {u"#FFFFFF", Rgb{0xFF, 0xFF, 0xFF}},
      {u"#abc", std::nullopt},
      {u"3498DB", std::nullopt},
      {u"#3498DB0", std::nullopt},
      {u"#3498D", std::nullopt},
      {u" #3498DB", std::nullopt},
      {u"#3498DB ", std::nullopt},
      {u"#34 8DB", std::nullopt},
      {u"#GG98DB", std::nullopt},
      {u"#+12345", std::nullopt},
      {u"#-12345", std::nullopt},
      {u"#0x1234", std::nullopt},
      {u"red", std::nullopt},
      {u"", std::nullopt},
      {u"#", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.text));
    const auto got = ParseHexColor(c.text);
    ASSERT_EQ(got.has_value(), c.rgb.has_value());
    if (got) {
      EXPECT_EQ(got->r, c.rgb->r);
      EXPECT_EQ(got->g, c.rgb->g);
      EXPECT_EQ(got->b, c.rgb->b);
    }
  }
}

TEST(WheelFileTest, ReportHearsOfChangesOnly) {
  {
    LoadReport report;
    WheelList list;
    EXPECT_TRUE(LoadWheelText(
        R"({"wheels":[{"name":"W","actions":[{"name":"a","steps":[{"key":"a"},{"wait":10}]}]}]})",
        list, kWheelFieldLimit, &report, "clean.json"));
    EXPECT_TRUE(report.problems().empty());
  }
  {
    LoadReport report;
    WheelList list;
    EXPECT_TRUE(LoadWheelText(R"({"actions":[{"steps":[{"key":"a"},{"key":"nosuchkey"}]}]})", list,
                              kWheelFieldLimit, &report, "bad.json"));
    EXPECT_TRUE(report.Any(LoadProblem::Severity::Changed));
    EXPECT_FALSE(report.Any(LoadProblem::Severity::Unusable));
    for (const auto& p : report.problems()) EXPECT_EQ(p.file, "bad.json");
    // The report changes nothing in what is loaded.
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].fields[0].steps.size(), 1u);
  }
  {
    LoadReport report;
    WheelList list;
    EXPECT_FALSE(LoadWheelText("{\"actions\":[" + Fields(25) + "]}", list, kWheelFieldLimit,
                               &report, "long.json"));
    EXPECT_TRUE(report.Any(LoadProblem::Severity::Changed));
  }
  {
    LoadReport report;
    WheelList list;
    EXPECT_FALSE(
        LoadWheelText(R"({"actions":[],})", list, kWheelFieldLimit, &report, "broken.json"));
    EXPECT_TRUE(report.Any(LoadProblem::Severity::Unusable));
  }
}

std::string ExpectedDefaultWheelText() {
  std::string s =
      "{\n"
      "  \"wheels\": [\n"
      "    {\n"
      "      \"name\": \"Kolo 1\",\n"
      "      \"actions\": [\n";
  for (int n = 1; n <= 8; ++n) {
    s += "        { \"name\": \"Funkcja " + std::to_string(n) + "\", \"key\": \"" +
         std::to_string(n) + "\" }";
    s += (n < 8) ? ",\n" : "\n";
  }
  s += "      ]\n"
       "    }\n"
       "  ]\n"
       "}\n";
  return s;
}

const char kExpectedVoiceText[] =
    "{\n"
    "  \"actions\": [\n"
    "    { \"name\": \"Prze\xC5\x82\xC4\x85"
    "cz okno\", \"voice\": \"prze\xC5\x82\xC4\x85"
    "cz okno\",\n"
    "      \"steps\": [ { \"key\": \"alt\", \"action\": \"hold\" },\n"
    "                 { \"key\": \"tab\", \"action\": \"click\" },\n"
    "                 { \"key\": \"alt\", \"action\": \"release\" } ] }\n"
    "  ]\n"
    "}\n";

TEST(WheelFileTest, FirstRunTextsAreExact) {
  EXPECT_EQ(std::string(kDefaultWheelFileText), ExpectedDefaultWheelText());
  EXPECT_EQ(std::string(kDefaultVoiceFileText), std::string(kExpectedVoiceText));
}

TEST(WheelFileTest, DefaultWheelTextLoads) {
  Loaded l = Load(kDefaultWheelFileText);
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.wheels.size(), 1u);
  EXPECT_EQ(l.wheels[0].name, u"Kolo 1");
  ASSERT_EQ(l.wheels[0].fields.size(), 8u);
  for (int n = 1; n <= 8; ++n) {
    SCOPED_TRACE(n);
    const auto& f = l.wheels[0].fields[n - 1];
    EXPECT_EQ(f.name, W("Funkcja " + std::to_string(n)));
    EXPECT_EQ(f.delay, 30);
    ASSERT_EQ(f.steps.size(), 1u);
    EXPECT_EQ(f.steps[0].kind, StepKind::Click);
    EXPECT_EQ(f.steps[0].value, 1);
    EXPECT_EQ(f.steps[0].key.vk, 0x30 + n);
  }
}

TEST(WheelFileTest, DefaultVoiceTextLoads) {
  Loaded l = Load(kDefaultVoiceFileText, kCommandListFieldLimit);
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.wheels.size(), 1u);
  EXPECT_EQ(l.wheels[0].name, u"");
  ASSERT_EQ(l.wheels[0].fields.size(), 1u);
  const auto& f = l.wheels[0].fields[0];
  EXPECT_EQ(f.name, u"Przełącz okno");
  EXPECT_EQ(f.voice, u"przełącz okno");
  ASSERT_EQ(f.steps.size(), 3u);
  EXPECT_EQ(f.steps[0].kind, StepKind::Hold);
  EXPECT_EQ(f.steps[0].value, 0);
  EXPECT_EQ(f.steps[0].key.vk, 0x12);
  EXPECT_EQ(f.steps[1].kind, StepKind::Click);
  EXPECT_EQ(f.steps[1].value, 1);
  EXPECT_EQ(f.steps[1].key.vk, 0x09);
  EXPECT_EQ(f.steps[2].kind, StepKind::Release);
  EXPECT_EQ(f.steps[2].key.vk, 0x12);
}

class WheelFileOnDiskTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    return dir_.Write(name, bytes);
  }
  test::TempDir dir_;
};

TEST_F(WheelFileOnDiskTest, MissingFileFailsAndClears) {
  WheelList list(2);
  EXPECT_FALSE(LoadWheelFile(dir_.path() / "absent.json", list, kWheelFieldLimit));
  EXPECT_TRUE(list.empty());
}

TEST_F(WheelFileOnDiskTest, BomPrefixedFileLoadsTheSame) {
  const std::string body =
      R"({"wheels":[{"name":"Koło","actions":[{"name":"Ź","keys":["a","f2"]}]}]})";
  WheelList plain, bom;
  ASSERT_TRUE(LoadWheelFile(Write("plain.json", body), plain, kWheelFieldLimit));
  ASSERT_TRUE(LoadWheelFile(Write("bom.json", "\xEF\xBB\xBF" + body), bom, kWheelFieldLimit));
  ASSERT_EQ(bom.size(), 1u);
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(bom[0].name, u"Koło");
  EXPECT_EQ(bom[0].name, plain[0].name);
  ASSERT_EQ(bom[0].fields.size(), 1u);
  EXPECT_EQ(bom[0].fields[0].name, u"Ź");
  EXPECT_EQ(ClickKeys(bom[0].fields[0].steps), ClickKeys(plain[0].fields[0].steps));
  EXPECT_EQ(ClickKeys(bom[0].fields[0].steps), (std::vector<std::string>{"vk:41", "vk:71"}));
}

TEST_F(WheelFileOnDiskTest, FileAndMemoryAgree) {
  const std::string body = "{\"actions\":[" + Fields(26) + "]}\r\n";
  WheelList fromFile;
  EXPECT_FALSE(LoadWheelFile(Write("long.json", body), fromFile, kWheelFieldLimit));
  ASSERT_EQ(fromFile.size(), 1u);
  EXPECT_EQ(fromFile[0].fields.size(), 24u);

  WheelList broken;
  EXPECT_FALSE(
      LoadWheelFile(Write("broken.json", "{\"actions\":[{}]} }"), broken, kWheelFieldLimit));
  EXPECT_TRUE(broken.empty());
}

}  // namespace
}  // namespace velmor
