// velmor-check driven in-process: what it reports for files users really
// write, its exit codes, and that --json is one object a program can read.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/json_reader.h"
#include "engine/core/text.h"
#include "support/temp_dir.h"
#include "tools/velmor-check/check.h"

namespace velmor {
namespace {

struct Result {
  int rc = -1;
  std::string out, err;
  JsonValue json;  // parsed when --json was given
};

class CheckTest : public testing::Test {
 protected:
  Result Run(std::vector<std::string> args, bool json = true) {
    Result r;
    if (json) args.push_back("--json");
    r.rc = check::RunCheck(args, dir_.path(), r.out, r.err);
    if (json) {
      EXPECT_TRUE(ParseJsonDocument(Utf8ToWide(r.out), r.json)) << r.out;
    }
    return r;
  }

  // The messages of every problem about `file`, as "path: message".
  static std::vector<std::string> Problems(const Result& r, const std::string& file) {
    std::vector<std::string> out;
    const JsonValue* list = r.json.Find(u"problems");
    if (!list) return out;
    for (const auto& p : list->array) {
      if (WideToUtf8(p.Find(u"file")->string) != file) continue;
      out.push_back(WideToUtf8(p.Find(u"path")->string) + ": " +
                    WideToUtf8(p.Find(u"message")->string));
    }
    return out;
  }

  static bool Has(const std::vector<std::string>& problems, const std::string& needle) {
    for (const auto& p : problems)
      if (p.find(needle) != std::string::npos) return true;
    return false;
  }

  test::TempDir dir_;
};

TEST_F(CheckTest, FreshDirectoryCreatesFirstRunFilesAndLoadsCleanly) {
  Result r = Run({});
  EXPECT_EQ(r.rc, 0) << r.out;
  const JsonValue* created = r.json.Find(u"created");
  ASSERT_TRUE(created && created->IsArray());
  EXPECT_EQ(created->array.size(), 3u);

  const JsonValue* settings = r.json.Find(u"settings");
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->Find(u"segmentColor")->string, u"#3498DB");
  EXPECT_EQ(settings->Find(u"sendDelay")->number, 250);
  const JsonValue* toggle = settings->Find(u"toggle");
  EXPECT_EQ(toggle->Find(u"kind")->string, u"keyboard");
  EXPECT_EQ(toggle->Find(u"vk")->number, 0x58);
  EXPECT_TRUE(toggle->Find(u"valid")->boolean);

  const JsonValue* wheels = r.json.Find(u"wheels");
  ASSERT_EQ(wheels->array.size(), 1u);
  const JsonValue& fields = *wheels->array[0].Find(u"fields");
  ASSERT_EQ(fields.array.size(), 8u);
  const JsonValue& step = fields.array[7].Find(u"steps")->array.at(0);
  EXPECT_EQ(step.Find(u"kind")->string, u"click");
  EXPECT_EQ(step.Find(u"key")->Find(u"vk")->number, 0x38);
  EXPECT_EQ(step.Find(u"key")->Find(u"mouse")->number, -1);

  const JsonValue* voice = r.json.Find(u"voice");
  ASSERT_EQ(voice->array.size(), 1u);
  EXPECT_EQ(voice->array[0].Find(u"steps")->array.size(), 3u);

  // A second run finds the files in place and creates nothing.
  Result again = Run({});
  EXPECT_EQ(again.rc, 0);
  EXPECT_TRUE(again.json.Find(u"created")->array.empty());
}

TEST_F(CheckTest, SettingsThatTheEngineChangesAreReported) {
  dir_.Write("config.json",
             R"({"sendDelay": 2500, "toggleKey": "foo+x", "steerSens": 1.0,
                 "readVoiceGender": "F", "segmentColor": "#abc", "keyHold": "100",
                 "sendDelay": 5, "voiceDefaultsSeen": []})");
  Result r = Run({});
  EXPECT_EQ(r.rc, 1);
  const JsonValue* s = r.json.Find(u"settings");
  EXPECT_EQ(s->Find(u"sendDelay")->number, 2000);
  EXPECT_EQ(s->Find(u"toggleKey")->string, u"x");
  EXPECT_EQ(s->Find(u"steerSens")->number, 150);
  EXPECT_EQ(s->Find(u"segmentColor")->string, u"#3498DB");

  auto p = Problems(r, "config.json");
  EXPECT_TRUE(Has(p, "sendDelay: 2500 became 2000"));
  EXPECT_TRUE(Has(p, "toggleKey: \"foo+x\" is not a key"));
  EXPECT_TRUE(Has(p, "steerSens: 1 is not greater than 1"));
  EXPECT_TRUE(Has(p, "readVoiceGender: \"F\" is not"));
  EXPECT_TRUE(Has(p, "segmentColor: \"#abc\" is not #RRGGBB"));
  EXPECT_TRUE(Has(p, "keyHold: is a string, expected a number"));
  EXPECT_TRUE(Has(p, "sendDelay: appears again"));
  // The GUI's own keys live in the same file: a note, not a problem.
  EXPECT_TRUE(Has(p, "voiceDefaultsSeen: not an engine setting"));
}

TEST_F(CheckTest, UnknownKeysAloneKeepExitZero) {
  dir_.Write("config.json", R"({"toggleKey": "ctrl+shift+f5", "theme": "dark"})");
  Result r = Run({});
  EXPECT_EQ(r.rc, 0) << r.out;
  const JsonValue* t = r.json.Find(u"settings")->Find(u"toggle");
  EXPECT_EQ(t->Find(u"mods")->number, 6);
  EXPECT_EQ(t->Find(u"vk")->number, 0x74);
}

TEST_F(CheckTest, BrokenConfigIsUnusableAndDefaultsStay) {
  dir_.Write("config.json", R"({"sendDelay": 100,})");
  Result r = Run({});
  EXPECT_EQ(r.rc, 2);
  EXPECT_EQ(r.json.Find(u"settings")->Find(u"sendDelay")->number, 250);
  EXPECT_TRUE(Has(Problems(r, "config.json"), "not valid JSON"));
}

TEST_F(CheckTest, WheelFileProblemsCarryTheirJsonPath) {
  auto wheel = dir_.Write("game.json", R"({"wheels": [
    "not a wheel",
    {"name": "Walka", "actions": [
      {"name": "Atak", "steps": [{"key": "space"}, {"key": "foo"}, {"key": "x", "action": "tap"},
                                 {"open": ""}, {"wait": 90000}, {"key": "a", "value": 500}]},
      {"keys": ["a", 5, true], "color": "red", "delay": -10}
    ]}
  ]})");
  Result r = Run({wheel.string()});
  EXPECT_EQ(r.rc, 1);
  auto p = Problems(r, "game.json");
  EXPECT_TRUE(Has(p, "wheels[0]: the wheel is a string, not an object; skipped"));
  EXPECT_TRUE(Has(p, "wheels[1].actions[0].steps[1]: key \"foo\" is not a key name; step dropped"));
  EXPECT_TRUE(Has(p, "wheels[1].actions[0].steps[2].action: action \"tap\" is not an action word"));
  EXPECT_TRUE(Has(p, "wheels[1].actions[0].steps[3]: \"open\" is empty; step dropped"));
  EXPECT_TRUE(Has(p, "wheels[1].actions[0].steps[4].wait: wait 90000 ms became 60000"));
  EXPECT_TRUE(Has(p, "wheels[1].actions[0].steps[5].value: value 500 became 100"));
  EXPECT_TRUE(Has(p, "wheels[1].actions[1].keys[2]: key is true/false, not a name; dropped"));
  EXPECT_TRUE(Has(p, "wheels[1].actions[1].color: colour \"red\" is not #RRGGBB"));
  EXPECT_TRUE(Has(p, "wheels[1].actions[1].delay: delay -10 became 0"));

  // The wheel as the engine holds it: the second wheels element, four steps kept.
  const JsonValue* wheels = r.json.Find(u"wheels");
  ASSERT_EQ(wheels->array.size(), 2u);  // default.json's and game.json's
  const JsonValue& game = wheels->array[1];
  EXPECT_EQ(game.Find(u"name")->string, u"Walka");
  const auto& steps = game.Find(u"fields")->array[0].Find(u"steps")->array;
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[1].Find(u"kind")->string, u"click");
  EXPECT_EQ(steps[2].Find(u"kind")->string, u"wait");
  EXPECT_EQ(steps[2].Find(u"value")->number, 60000);
}

TEST_F(CheckTest, UnreadableWheelFileIsExitTwo) {
  Result missing = Run({(dir_ / "nope.json").string()});
  EXPECT_EQ(missing.rc, 2);
  EXPECT_TRUE(Has(Problems(missing, "nope.json"), "cannot be read"));

  auto array = dir_.Write("array.json", "[1, 2]");
  Result notObject = Run({array.string()});
  EXPECT_EQ(notObject.rc, 2);
}

TEST_F(CheckTest, WheelsOverTheLimitAreCut) {
  std::string text = R"({"actions": [)";
  for (int i = 0; i < 30; ++i) text += std::string(i ? "," : "") + R"({"key": "a"})";
  text += "]}";
  auto wheel = dir_.Write("long.json", text);
  Result r = Run({wheel.string()});
  EXPECT_EQ(r.rc, 1);
  EXPECT_TRUE(Has(Problems(r, "long.json"), "the wheel has 30 fields; only the first 24 are kept"));
  EXPECT_EQ(r.json.Find(u"wheels")->array[1].Find(u"fields")->array.size(), 24u);
}

TEST_F(CheckTest, DefaultWheelFallbackIsReported) {
  dir_.Write("default.json", R"({"actions": []})");
  Result r = Run({});
  EXPECT_EQ(r.rc, 1);
  const auto& wheels = r.json.Find(u"wheels")->array;
  ASSERT_EQ(wheels.size(), 1u);
  EXPECT_EQ(wheels[0].Find(u"fields")->array.size(), 6u);
  EXPECT_TRUE(Has(Problems(r, "default.json"), "one empty wheel of six fields"));
}

TEST_F(CheckTest, KeyCommandPrintsTheResolvedRecord) {
  struct Case {
    const char* name;
    int rc;
    int vk;
    int mouse;
    int vpad;
    const char* target;
  };
  const Case cases[] = {
      {" Enter ", 0, 0x0D, -1, 0, ""}, {"MB4", 0, 0, 3, 0, ""},     {"vpad:LT", 0, 0, -1, 15, ""},
      {"Koło", 0, 0, -1, 0, "wheel"},  {"nic", 0, 0, -1, 0, "off"}, {"f25", 1, 0, -1, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Result r = Run({"key", c.name});
    EXPECT_EQ(r.rc, c.rc);
    EXPECT_EQ(r.json.Find(u"valid")->boolean, c.rc == 0);
    EXPECT_EQ(r.json.Find(u"vk")->number, c.vk);
    EXPECT_EQ(r.json.Find(u"mouse")->number, c.mouse);
    EXPECT_EQ(r.json.Find(u"vpad")->number, c.vpad);
    EXPECT_EQ(r.json.Find(u"target")->string, Utf8ToWide(c.target));
  }
  Result text = Run({"key", "pageup"}, false);
  EXPECT_EQ(text.out, "\"pageup\" vk 0x21 extended\n");
}

TEST_F(CheckTest, TextOutputListsEveryStepOnItsOwnLine) {
  Result r = Run({}, false);
  EXPECT_EQ(r.rc, 0);
  EXPECT_NE(r.out.find("toggle key: keyboard \"x\" vk 0x58"), std::string::npos);
  EXPECT_NE(r.out.find("step 0: hold (until released) \"alt\" vk 0x12"), std::string::npos);
  EXPECT_NE(r.out.find("no problems"), std::string::npos);
}

TEST_F(CheckTest, RuleFilesListWhatTheEngineKeepsAndWhy) {
  dir_.Write("map.json", R"({"rules":[{"src":"F5  X2","to":"b"},{"src":"pad:foo","to":"a"},
                                      {"src":"mb4 hold","steps":[{"key":"a"}]}]})");
  dir_.Write("devmap.json", R"({"rules":[{"device":"\\\\?\\HID#VID_046D&PID_C077#1",
                                         "src":"btn65","to":"a"},
                                        {"device":"XAC","src":"lsl","to":"space"}]})");
  Result r = Run({});
  EXPECT_EQ(r.rc, 1);
  const JsonValue* rules = r.json.Find(u"rules");
  ASSERT_TRUE(rules && rules->IsArray());
  std::vector<std::string> lines;
  for (const auto& rule : rules->array)
    lines.push_back(WideToUtf8(rule.Find(u"device")->string + u" " + rule.Find(u"src")->string +
                               u" " + rule.Find(u"gesture")->string + u" " +
                               rule.Find(u"target")->string));
  EXPECT_EQ(lines,
            (std::vector<std::string>{"global vk 0x74 double \"b\"", "global mb4 hold steps (1)",
                                      "xac lsl single \"space\""}));
  EXPECT_TRUE(Has(Problems(r, "map.json"), "rules[1].src: source \"pad:foo\""));
  EXPECT_TRUE(Has(Problems(r, "devmap.json"), "\"btn65\" is not a device source"));
}

TEST_F(CheckTest, SimulatePrintsTheGestureTimeline) {
  dir_.Write("map.json", R"({"rules":[{"src":"f5","to":"a"},{"src":"f5 hold","to":"c"}]})");
  Result r =
      Run({"simulate", "down:f5", "@100", "up:f5", "@500", "down:f5", "@1000", "up:f5", "down:f6"},
          false);
  ASSERT_EQ(r.rc, 0) << r.err;
  EXPECT_EQ(r.out,
            "timing: double 300 ms, hold 400 ms, tap 60 ms\n"
            "@100 press \"a\"\n@175 release \"a\"\n"
            "@900 press \"c\"\n@1000 release \"c\"\n"
            "@1000 down f6: no rule, passed on\n");
  std::string out, err;
  EXPECT_EQ(check::RunCheck({"simulate", "@20", "@10"}, dir_.path(), out, err), 2);
  EXPECT_EQ(check::RunCheck({"simulate", "press:f5"}, dir_.path(), out, err), 2);
  EXPECT_EQ(check::RunCheck({"simulate", "down:nosuchkey"}, dir_.path(), out, err), 2);
}

TEST_F(CheckTest, GrammarPrintsThePhraseTableTheEngineBuilds) {
  dir_.Write("config.json", R"({"language": "de"})");  // no German model: English
  Run({});                                             // first-run files
  std::filesystem::create_directories(dir_ / "profiles" / "Race");
  Result r = Run({"grammar"});
  ASSERT_EQ(r.rc, 0) << r.err;
  EXPECT_EQ(r.json.Find(u"language")->string, u"en");
  EXPECT_EQ(r.json.Find(u"model")->string, u"vosk-model-small-en-us-0.15");
  const auto& phrases = r.json.Find(u"phrases")->array;
  ASSERT_GT(phrases.size(), 26u + 3u * 99u);
  EXPECT_EQ(phrases[0].Find(u"text")->string, u"show wheel");
  EXPECT_EQ(phrases.back().Find(u"text")->string, u"schemat race");
  EXPECT_EQ(phrases.back().Find(u"wheel")->number, -2);
  const std::u16string grammar = r.json.Find(u"grammar")->string;
  EXPECT_EQ(grammar.rfind(u"[\"show wheel\",", 0), 0u);
  EXPECT_NE(grammar.find(u",\"schemat race\",\"[unk]\"]"), std::u16string::npos);

  Result text = Run({"grammar"}, false);
  EXPECT_NE(text.out.find("  \"double click on forty seven\"\t347\t-1\t0\n"), std::string::npos);
}

TEST_F(CheckTest, BadCommandLinesAreExitTwo) {
  std::string out, err;
  EXPECT_EQ(check::RunCheck({"--dir"}, dir_.path(), out, err), 2);
  EXPECT_EQ(check::RunCheck({"--frobnicate"}, dir_.path(), out, err), 2);
  EXPECT_EQ(check::RunCheck({"key"}, dir_.path(), out, err), 2);
  EXPECT_EQ(check::RunCheck({"--dir", (dir_ / "missing").string()}, dir_.path(), out, err), 2);
  EXPECT_NE(err.find("usage:"), std::string::npos);
}

}  // namespace
}  // namespace velmor
