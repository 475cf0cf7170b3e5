// Tests of config.json loading (types, clamps, rejection of a bad file,
// reloads), the toggle key grammar, the first-run files, the whole settings
// load with its fallbacks, and the engine message table.

#include "engine/core/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/messages.h"
#include "engine/core/text.h"
#include "support/temp_dir.h"

namespace velmor {
namespace {

std::string Hex(const Rgb& c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
  return buf;
}

// Field by field, so a failure names the field.
void ExpectSettingsEq(const EngineSettings& a, const EngineSettings& e) {
  EXPECT_EQ(Hex(a.segmentColor), Hex(e.segmentColor)) << "segmentColor";
#define VELMOR_EXPECT_FIELD(f) EXPECT_EQ(a.f, e.f) << #f
  VELMOR_EXPECT_FIELD(toggleKey);
  VELMOR_EXPECT_FIELD(sendDelay);
  VELMOR_EXPECT_FIELD(keyHold);
  VELMOR_EXPECT_FIELD(mapDouble);
  VELMOR_EXPECT_FIELD(mapHold);
  VELMOR_EXPECT_FIELD(xacStickAngle);
  VELMOR_EXPECT_FIELD(steerSens);
  VELMOR_EXPECT_FIELD(steerCurve);
  VELMOR_EXPECT_FIELD(steerAxis);
  VELMOR_EXPECT_FIELD(takeFocus);
  VELMOR_EXPECT_FIELD(gazeEnabled);
  VELMOR_EXPECT_FIELD(gazeDwell);
  VELMOR_EXPECT_FIELD(gazeDllPath);
  VELMOR_EXPECT_FIELD(voiceEnabled);
  VELMOR_EXPECT_FIELD(voiceGlobal);
  VELMOR_EXPECT_FIELD(voiceModel);
  VELMOR_EXPECT_FIELD(voiceDllPath);
  VELMOR_EXPECT_FIELD(language);
  VELMOR_EXPECT_FIELD(launcherEnabled);
  VELMOR_EXPECT_FIELD(launcherSize);
  VELMOR_EXPECT_FIELD(readAloud);
  VELMOR_EXPECT_FIELD(readAloudDwell);
  VELMOR_EXPECT_FIELD(readVoiceGender);
  VELMOR_EXPECT_FIELD(audioInDevice);
  VELMOR_EXPECT_FIELD(audioOutDevice);
  VELMOR_EXPECT_FIELD(readVolume);
  VELMOR_EXPECT_FIELD(phoneKeyboard);
  VELMOR_EXPECT_FIELD(voiceConfidence);
  VELMOR_EXPECT_FIELD(voiceConfShow);
  VELMOR_EXPECT_FIELD(voiceToast);
  VELMOR_EXPECT_FIELD(voiceToastPos);
  VELMOR_EXPECT_FIELD(heldKeysShow);
  VELMOR_EXPECT_FIELD(heldKeysPos);
#undef VELMOR_EXPECT_FIELD
}

// Settings that differ from the defaults in every field, to show that a
// load leaves what it does not touch.
EngineSettings Customised() {
  EngineSettings s;
  s.segmentColor = {1, 2, 3};
  s.toggleKey = u"ctrl+f5";
  s.sendDelay = 111;
  s.keyHold = 22;
  s.mapDouble = 333;
  s.mapHold = 444;
  s.xacStickAngle = 0.5;
  s.steerSens = 55.0;
  s.steerCurve = 1.5;
  s.steerAxis = 2;
  s.takeFocus = false;
  s.gazeEnabled = false;
  s.gazeDwell = 555;
  s.gazeDllPath = u"g.dll";
  s.voiceEnabled = false;
  s.voiceGlobal = false;
  s.voiceModel = u"model";
  s.voiceDllPath = u"v.dll";
  s.language = u"de";
  s.launcherEnabled = true;
  s.launcherSize = 99;
  s.readAloud = true;
  s.readAloudDwell = 777;
  s.readVoiceGender = u"m";
  s.audioInDevice = u"in";
  s.audioOutDevice = u"out";
  s.readVolume = 42;
  s.phoneKeyboard = u"raw";
  s.voiceConfidence = 12;
  s.voiceConfShow = true;
  s.voiceToast = false;
  s.voiceToastPos = u"bottom";
  s.heldKeysShow = false;
  s.heldKeysPos = u"bottom";
  return s;
}

struct ApplyCase {
  std::string json;
  std::function<void(EngineSettings&)> change;  // what the load must do; nothing when empty
};

void CheckApply(const std::vector<ApplyCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    EngineSettings expected;
    if (c.change) c.change(expected);
    EngineSettings actual;
    EXPECT_TRUE(LoadSettingsText(W(c.json), actual));
    ExpectSettingsEq(actual, expected);
  }
}

TEST(SettingsTest, EmptyObjectChangesNothing) {
  EngineSettings s;
  EXPECT_TRUE(LoadSettingsText(u"{}", s));
  ExpectSettingsEq(s, EngineSettings{});

  EngineSettings c = Customised();
  EXPECT_TRUE(LoadSettingsText(u" {\n}\n", c));
  ExpectSettingsEq(c, Customised());
}

TEST(SettingsTest, IntegerClamps) {
  CheckApply({
      {R"({"sendDelay": 2500})", [](EngineSettings& s) { s.sendDelay = 2000; }},
      {R"({"sendDelay": -5})", [](EngineSettings& s) { s.sendDelay = 0; }},
      {R"({"sendDelay": 12.9})", [](EngineSettings& s) { s.sendDelay = 12; }},
      {R"({"sendDelay": 2000})", [](EngineSettings& s) { s.sendDelay = 2000; }},
      {R"({"sendDelay": 1e300})", [](EngineSettings& s) { s.sendDelay = 2000; }},
      {R"({"sendDelay": -1e300})", [](EngineSettings& s) { s.sendDelay = 0; }},
      {R"({"sendDelay": 1e400})", [](EngineSettings& s) { s.sendDelay = 2000; }},
      {R"({"keyHold": 1001})", [](EngineSettings& s) { s.keyHold = 1000; }},
      {R"({"keyHold": -1})", [](EngineSettings& s) { s.keyHold = 0; }},
      {R"({"keyHold": 59.99})", [](EngineSettings& s) { s.keyHold = 59; }},
      {R"({"mapDouble": 50})", [](EngineSettings& s) { s.mapDouble = 100; }},
      {R"({"mapDouble": 2001})", [](EngineSettings& s) { s.mapDouble = 2000; }},
      {R"({"mapDouble": 100.5})", [](EngineSettings& s) { s.mapDouble = 100; }},
      {R"({"mapHold": 100})", [](EngineSettings& s) { s.mapHold = 150; }},
      {R"({"mapHold": 149.9})", [](EngineSettings& s) { s.mapHold = 150; }},
      {R"({"mapHold": 6000})", [](EngineSettings& s) { s.mapHold = 5000; }},
      {R"({"gazeDwell": 0})", [](EngineSettings& s) { s.gazeDwell = 0; }},
      {R"({"gazeDwell": 10001})", [](EngineSettings& s) { s.gazeDwell = 10000; }},
      {R"({"gazeDwell": -1})", [](EngineSettings& s) { s.gazeDwell = 0; }},
      {R"({"launcherSize": 10})", [](EngineSettings& s) { s.launcherSize = 32; }},
      {R"({"launcherSize": 999})", [](EngineSettings& s) { s.launcherSize = 256; }},
      {R"({"launcherSize": 128})", [](EngineSettings& s) { s.launcherSize = 128; }},
      {R"({"readAloudDwell": 0})", [](EngineSettings& s) { s.readAloudDwell = 300; }},
      {R"({"readAloudDwell": 9000})", [](EngineSettings& s) { s.readAloudDwell = 5000; }},
      {R"({"readVolume": 101})", [](EngineSettings& s) { s.readVolume = 100; }},
      {R"({"readVolume": -1})", [](EngineSettings& s) { s.readVolume = 0; }},
      {R"({"readVolume": 37})", [](EngineSettings& s) { s.readVolume = 37; }},
      {R"({"voiceConfidence": 150})", [](EngineSettings& s) { s.voiceConfidence = 100; }},
      {R"({"voiceConfidence": -3})", [](EngineSettings& s) { s.voiceConfidence = 0; }},
      {R"({"voiceConfidence": 55.5})", [](EngineSettings& s) { s.voiceConfidence = 55; }},
  });
}

TEST(SettingsTest, ThresholdedNumbers) {
  CheckApply({
      {R"({"xacStickAngle": 1.5708})", [](EngineSettings& s) { s.xacStickAngle = 1.5708; }},
      {R"({"xacStickAngle": -12.25})", [](EngineSettings& s) { s.xacStickAngle = -12.25; }},
      {R"({"steerSens": 1.0})", {}},
      {R"({"steerSens": 0})", {}},
      {R"({"steerSens": -200})", {}},
      {R"({"steerSens": 1.01})", [](EngineSettings& s) { s.steerSens = 1.01; }},
      {R"({"steerSens": 500.5})", [](EngineSettings& s) { s.steerSens = 500.5; }},
      {R"({"steerCurve": 0.05})", {}},
      {R"({"steerCurve": 0.06})", [](EngineSettings& s) { s.steerCurve = 0.06; }},
      {R"({"steerCurve": 2.5})", [](EngineSettings& s) { s.steerCurve = 2.5; }},
      {R"({"steerAxis": 4})", {}},
      {R"({"steerAxis": -1})", {}},
      {R"({"steerAxis": 1e300})", {}},
      {R"({"steerAxis": 3})", [](EngineSettings& s) { s.steerAxis = 3; }},
      {R"({"steerAxis": 3.9})", [](EngineSettings& s) { s.steerAxis = 3; }},  // truncated first
      {R"({"steerAxis": 1})", [](EngineSettings& s) { s.steerAxis = 1; }},
  });

  // Truncation toward zero brings -0.5 into range as 0.
  EngineSettings s = Customised();
  ASSERT_TRUE(LoadSettingsText(u"{\"steerAxis\": -0.5}", s));
  EXPECT_EQ(s.steerAxis, 0);
}

TEST(SettingsTest, BooleansAndStrings) {
  CheckApply({
      {R"({"takeFocus": false})", [](EngineSettings& s) { s.takeFocus = false; }},
      {R"({"gazeEnabled": false})", [](EngineSettings& s) { s.gazeEnabled = false; }},
      {R"({"voiceEnabled": false})", [](EngineSettings& s) { s.voiceEnabled = false; }},
      {R"({"voiceGlobal": false})", [](EngineSettings& s) { s.voiceGlobal = false; }},
      {R"({"launcherEnabled": true})", [](EngineSettings& s) { s.launcherEnabled = true; }},
      {R"({"readAloud": true})", [](EngineSettings& s) { s.readAloud = true; }},
      {R"({"voiceConfShow": true})", [](EngineSettings& s) { s.voiceConfShow = true; }},
      {R"({"voiceToast": false})", [](EngineSettings& s) { s.voiceToast = false; }},
      {R"({"heldKeysShow": false})", [](EngineSettings& s) { s.heldKeysShow = false; }},
      {R"({"gazeDllPath": "C:\\Tobii\\tobii_stream_engine.dll"})",
       [](EngineSettings& s) { s.gazeDllPath = u"C:\\Tobii\\tobii_stream_engine.dll"; }},
      {R"({"voiceDllPath": "D:\\vosk\\libvosk.dll"})",
       [](EngineSettings& s) { s.voiceDllPath = u"D:\\vosk\\libvosk.dll"; }},
      {R"({"audioInDevice": "Mikrofon USB Audio"})",
       [](EngineSettings& s) { s.audioInDevice = u"Mikrofon USB Audio"; }},
      {R"({"audioOutDevice": "Głośniki"})",
       [](EngineSettings& s) { s.audioOutDevice = u"Głośniki"; }},
      {R"({"voiceModel": "vosk-model-small-en-us-0.15"})",
       [](EngineSettings& s) { s.voiceModel = u"vosk-model-small-en-us-0.15"; }},
      {R"({"voiceModel": ""})", {}},
      {R"({"language": "en"})", [](EngineSettings& s) { s.language = u"en"; }},
      {R"({"language": "EN"})", [](EngineSettings& s) { s.language = u"EN"; }},
      {R"({"language": ""})", {}},
      {R"({"readVoiceGender": "m"})", [](EngineSettings& s) { s.readVoiceGender = u"m"; }},
      {R"({"readVoiceGender": "F"})", {}},
      {R"({"readVoiceGender": "male"})", {}},
      {R"({"phoneKeyboard": "uhid"})", [](EngineSettings& s) { s.phoneKeyboard = u"uhid"; }},
      {R"({"phoneKeyboard": "raw"})", [](EngineSettings& s) { s.phoneKeyboard = u"raw"; }},
      {R"({"phoneKeyboard": "keyboard"})", {}},
      {R"({"phoneKeyboard": ""})", {}},
      {R"({"voiceToastPos": "bottom"})", [](EngineSettings& s) { s.voiceToastPos = u"bottom"; }},
      {R"({"voiceToastPos": "middle"})", {}},
      {R"({"heldKeysPos": "bottom"})", [](EngineSettings& s) { s.heldKeysPos = u"bottom"; }},
      {R"({"heldKeysPos": "left"})", {}},
      {R"({"toggleKey": "Ctrl+Shift+F5"})",
       [](EngineSettings& s) { s.toggleKey = u"Ctrl+Shift+F5"; }},
  });

  // Free-text keys take an empty text too.
  EngineSettings s = Customised();
  ASSERT_TRUE(
      LoadSettingsText(u"{\"gazeDllPath\":\"\",\"voiceDllPath\":\"\",\"audioInDevice\":\"\","
                       u"\"audioOutDevice\":\"\"}",
                       s));
  EXPECT_EQ(s.gazeDllPath, u"");
  EXPECT_EQ(s.voiceDllPath, u"");
  EXPECT_EQ(s.audioInDevice, u"");
  EXPECT_EQ(s.audioOutDevice, u"");

  // Values of the restricted sets other than the default are read back too.
  ASSERT_TRUE(LoadSettingsText(
      u"{\"readVoiceGender\":\"f\",\"phoneKeyboard\":\"text\",\"voiceToastPos\":\"top\","
      u"\"heldKeysPos\":\"top\"}",
      s));
  EXPECT_EQ(s.readVoiceGender, u"f");
  EXPECT_EQ(s.phoneKeyboard, u"text");
  EXPECT_EQ(s.voiceToastPos, u"top");
  EXPECT_EQ(s.heldKeysPos, u"top");
}

TEST(SettingsTest, SegmentColor) {
  CheckApply({
      {R"({"segmentColor": "#a1B2c3"})",
       [](EngineSettings& s) {
         s.segmentColor = {0xA1, 0xB2, 0xC3};
       }},
      {R"({"segmentColor": "#000000"})",
       [](EngineSettings& s) {
         s.segmentColor = {0, 0, 0};
       }},
      {R"({"segmentColor": "#abc"})", {}},
      {R"({"segmentColor": "red"})", {}},
      {R"({"segmentColor": "#3498DB "})", {}},
      {R"({"segmentColor": "#-12345"})", {}},
      {R"({"segmentColor": 3447003})", {}},
      // A bad colour does not stop the keys after it.
      {R"({"segmentColor": "#abc", "sendDelay": 100, "language": "en"})",
       [](EngineSettings& s) {
         s.sendDelay = 100;
         s.language = u"en";
       }},
  });
}

TEST(SettingsTest, WrongTypesAndUnknownKeysAreIgnored) {
  CheckApply({
      {R"({"sendDelay": "100"})", {}},
      {R"({"sendDelay": true})", {}},
      {R"({"sendDelay": null})", {}},
      {R"({"sendDelay": [100]})", {}},
      {R"({"takeFocus": 0})", {}},
      {R"({"takeFocus": "false"})", {}},
      {R"({"language": 1})", {}},
      {R"({"toggleKey": 5})", {}},
      {R"({"xacStickAngle": "1"})", {}},
      {R"({"SendDelay": 100, "senddelay": 100})", {}},
      {R"({"unknownKey": 1, "wheels": []})", {}},
      // The first of duplicate keys counts.
      {R"({"sendDelay": 100, "sendDelay": 200})", [](EngineSettings& s) { s.sendDelay = 100; }},
      {R"({"sendDelay": "x", "sendDelay": 200})", {}},
  });
}

TEST(SettingsTest, BadFileIsRejectedAsAWhole) {
  const std::vector<std::u16string> texts = {
      u"{\"sendDelay\": 100,}",
      u"// settings\n{\"sendDelay\": 100}",
      u"{\"sendDelay\": 100 /* ms */}",
      u"{\"sendDelay\": 100} /* end */",
      u"{\"sendDelay\": 100} x",
      u"{\"sendDelay\": 100}}",
      u"{\"sendDelay\": 100}{}",
      u"[{\"sendDelay\": 100}]",
      u"\"sendDelay\"",
      u"100",
      u"",
      u"{\"sendDelay\": 100",
  };
  for (const auto& t : texts) {
    SCOPED_TRACE(WideToUtf8(t));
    EngineSettings s = Customised();
    EXPECT_FALSE(LoadSettingsText(t, s));
    ExpectSettingsEq(s, Customised());
  }
  EngineSettings s = Customised();
  EXPECT_TRUE(LoadSettingsText(u"{\"sendDelay\": 100}\r\n\t ", s));
  EXPECT_EQ(s.sendDelay, 100);
}

TEST(SettingsTest, LanguageSelectsTheMessageTable) {
  EngineSettings s;
  ASSERT_TRUE(LoadSettingsText(u"{\"language\": \"en\"}", s));
  const int en = EngineLanguageIndex(s.language);
  EXPECT_EQ(FormatEngineMessage(EngineMessage::GazeActive, en), u"active");
  EXPECT_EQ(FormatEngineMessage(EngineMessage::VoiceNoMicrophone, en), u"no microphone");

  ASSERT_TRUE(LoadSettingsText(u"{\"language\": \"\"}", s));
  EXPECT_EQ(s.language, u"en");

  ASSERT_TRUE(LoadSettingsText(u"{\"language\": \"EN\"}", s));
  const int upper = EngineLanguageIndex(s.language);
  EXPECT_EQ(FormatEngineMessage(EngineMessage::GazeActive, upper), u"aktywny");
}

struct ToggleCase {
  std::u16string text;
  bool valid;
  ToggleKey::Kind kind = ToggleKey::Kind::Keyboard;
  std::uint32_t mods = 0;
  std::uint16_t vk = 0;
  int mouseButton = 0;
  std::uint32_t padMask = 0;
};

TEST(SettingsTest, ToggleKeyGrammar) {
  using K = ToggleKey::Kind;
  const std::vector<ToggleCase> cases = {
      {u"x", true, K::Keyboard, 0, 0x58},
      {u"X", true, K::Keyboard, 0, 0x58},
      {u"f5", true, K::Keyboard, 0, 0x74},
      {u"Ctrl+Shift+F5", true, K::Keyboard, kModCtrl | kModShift, 0x74},
      {u"alt+win+a", true, K::Keyboard, kModAlt | kModWin, 0x41},
      {u"CTRL+ALT+SHIFT+WIN+DELETE", true, K::Keyboard, 15, 0x2E},
      {u"shift+ctrl+space", true, K::Keyboard, kModCtrl | kModShift, 0x20},
      {u"ctrl+-", true, K::Keyboard, kModCtrl, 0xBD},
      {u"alt+5", true, K::Keyboard, kModAlt, 0x35},
      // A part followed by a final plus is the key itself.
      {u"x+", true, K::Keyboard, 0, 0x58},
      {u"ctrl+", true, K::Keyboard, 0, 0x11},
      {u"shift+ctrl+", true, K::Keyboard, kModShift, 0x11},
      {u"ctrl", true, K::Keyboard, 0, 0x11},
      {u"foo+x", false},
      {u"+x", false},
      {u"ctrl+foo", false},
      {u"control+x", false},
      {u"ctrl+alt", true, K::Keyboard, kModCtrl, 0x12},
      {u"ctrl+ą", false},
      {u"", false},
      // Mouse buttons, only the three names and never in a chord.
      {u"mmb", true, K::Mouse, 0, 0, 1},
      {u"MB4", true, K::Mouse, 0, 0, 2},
      {u"mb5", true, K::Mouse, 0, 0, 3},
      {u"lmb", false},
      {u"rmb", false},
      {u"mouse4", false},
      {u"ctrl+mmb", false},
      // Pad buttons.
      {u"pad:LB", true, K::Pad, 0, 0, 0, 0x0100},
      {u"pad:a", true, K::Pad, 0, 0, 0, 0x1000},
      {u"PAD:Start", true, K::Pad, 0, 0, 0, 0x0010},
      {u"pad:rt", true, K::Pad, 0, 0, 0, 0x20000},
      {u"pad:zz", false},
      {u"pad:", false},
      {u"pad", false},
      {u"ctrl+pad:a", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.text));
    const ToggleKey t = ParseToggleKey(c.text);
    ASSERT_EQ(t.valid, c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(static_cast<int>(t.kind), static_cast<int>(c.kind));
    switch (c.kind) {
      case K::Keyboard:
        EXPECT_EQ(t.mods, c.mods);
        EXPECT_EQ(t.key.vk, c.vk);
        EXPECT_TRUE(t.key.valid);
        EXPECT_FALSE(t.key.isMouse);
        break;
      case K::Mouse:
        EXPECT_EQ(t.mouseButton, c.mouseButton);
        break;
      case K::Pad:
        EXPECT_EQ(t.padMask, c.padMask);
        break;
    }
  }
  EXPECT_TRUE(ParseToggleKey(u"ctrl+delete").key.extended);
}

TEST(SettingsTest, DefaultConfigText) {
  EXPECT_EQ(std::string(kDefaultConfigFileText),
            "{\n  \"segmentColor\": \"#3498DB\",\n  \"toggleKey\": \"x\"\n}\n");
}

TEST(SettingsTest, FallbackWheelIsSixEmptyFields) {
  const Wheel w = FallbackWheel();
  EXPECT_EQ(w.name, u"");
  ASSERT_EQ(w.fields.size(), 6u);
  for (const auto& f : w.fields) {
    EXPECT_EQ(f.name, u"");
    EXPECT_TRUE(f.steps.empty());
    EXPECT_EQ(f.delay, 30);
    EXPECT_FALSE(f.hasColor);
  }
}

TEST(SettingsTest, ReportNamesChangedMembers) {
  JsonValue root;
  ASSERT_TRUE(ParseJsonDocument(u"{\"sendDelay\": 100, \"language\": \"en\"}", root));
  LoadReport clean;
  EngineSettings s;
  ApplySettingsObject(root, s, &clean);
  EXPECT_TRUE(clean.problems().empty());
  EXPECT_EQ(s.sendDelay, 100);

  ASSERT_TRUE(ParseJsonDocument(
      u"{\"sendDelay\": 2500, \"keyHold\": \"5\", \"segmentColor\": \"#abc\"}", root));
  LoadReport changed;
  EngineSettings t;
  ApplySettingsObject(root, t, &changed, "my.json");
  EXPECT_TRUE(changed.Any(LoadProblem::Severity::Changed));
  EXPECT_FALSE(changed.Any(LoadProblem::Severity::Unusable));
  for (const auto& p : changed.problems()) EXPECT_EQ(p.file, "my.json");
  // The report changes nothing in what is applied.
  EXPECT_EQ(t.sendDelay, 2000);
  EXPECT_EQ(t.keyHold, 60);

  LoadReport broken;
  EngineSettings u = Customised();
  EXPECT_FALSE(LoadSettingsText(u"{\"sendDelay\": 100,}", u, &broken));
  EXPECT_TRUE(broken.Any(LoadProblem::Severity::Unusable));
  ExpectSettingsEq(u, Customised());
}

// ---------------------------------------------------------------------------
// Files in a program directory.

class SettingsDirTest : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::string& bytes) { dir_.Write(name, bytes); }
  std::string Read(const std::string& name) { return dir_.Read(name); }
  std::vector<std::string> Created() {
    auto names = CreateFirstRunFiles(dir_.path());
    std::sort(names.begin(), names.end());
    return names;
  }
  test::TempDir dir_;
};

const char kConfigText[] = "{\n  \"segmentColor\": \"#3498DB\",\n  \"toggleKey\": \"x\"\n}\n";

TEST_F(SettingsDirTest, FirstRunCreatesTheThreeFilesExactly) {
  EXPECT_EQ(Created(), (std::vector<std::string>{"config.json", "default.json", "voice.json"}));
  EXPECT_EQ(Read("config.json"), kConfigText);
  EXPECT_EQ(Read("default.json"), std::string(kDefaultWheelFileText));
  EXPECT_EQ(Read("voice.json"), std::string(kDefaultVoiceFileText));
  for (const char* name : {"config.json", "default.json", "voice.json"}) {
    SCOPED_TRACE(name);
    const std::string bytes = Read(name);
    EXPECT_NE(bytes.rfind("\xEF\xBB\xBF", 0), 0u);   // no byte-order mark
    EXPECT_EQ(bytes.find('\r'), std::string::npos);  // line feeds only
  }
  // A second run finds them all.
  EXPECT_TRUE(Created().empty());
  EXPECT_EQ(Read("config.json"), kConfigText);
}

TEST_F(SettingsDirTest, ExistingFilesAreNeverTouched) {
  const std::string config = "\xEF\xBB\xBF{\"sendDelay\": 100}\r\n";
  Write("config.json", config);
  Write("voice.json", "");  // even an empty file counts as present
  EXPECT_EQ(Created(), (std::vector<std::string>{"default.json"}));
  EXPECT_EQ(Read("config.json"), config);
  EXPECT_EQ(Read("voice.json"), "");
  EXPECT_EQ(Read("default.json"), std::string(kDefaultWheelFileText));

  EngineConfig cfg;
  LoadEngineSettings(dir_.path(), cfg);
  EXPECT_EQ(Read("config.json"), config);
  EXPECT_EQ(Read("voice.json"), "");
  EXPECT_EQ(cfg.settings.sendDelay, 100);
}

TEST_F(SettingsDirTest, SettingsFileReading) {
  EngineSettings s = Customised();
  EXPECT_FALSE(LoadSettingsFile(dir_.path() / "config.json", s));
  ExpectSettingsEq(s, Customised());

  const std::string body =
      "{\r\n  \"sendDelay\": 1234,\r\n  \"audioInDevice\": \"Mikrofon \xC5\x81\"\r\n}\r\n";
  Write("plain.json", body);
  Write("bom.json", "\xEF\xBB\xBF" + body);
  EngineSettings plain, bom;
  EXPECT_TRUE(LoadSettingsFile(dir_.path() / "plain.json", plain));
  EXPECT_TRUE(LoadSettingsFile(dir_.path() / "bom.json", bom));
  ExpectSettingsEq(bom, plain);
  EXPECT_EQ(bom.sendDelay, 1234);
  EXPECT_EQ(bom.audioInDevice, u"Mikrofon Ł");

  Write("bad.json", "{\"sendDelay\": 5} trailing");
  EngineSettings c = Customised();
  EXPECT_FALSE(LoadSettingsFile(dir_.path() / "bad.json", c));
  ExpectSettingsEq(c, Customised());
}

TEST_F(SettingsDirTest, FirstLoadInAnEmptyDirectory) {
  EngineConfig cfg;
  LoadReport report;
  LoadEngineSettings(dir_.path(), cfg, &report);
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / "config.json"));
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / "default.json"));
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / "voice.json"));
  ExpectSettingsEq(cfg.settings, EngineSettings{});
  EXPECT_TRUE(cfg.toggle.valid);
  EXPECT_EQ(static_cast<int>(cfg.toggle.kind), static_cast<int>(ToggleKey::Kind::Keyboard));
  EXPECT_EQ(cfg.toggle.mods, 0u);
  EXPECT_EQ(cfg.toggle.key.vk, 0x58);
  ASSERT_EQ(cfg.wheels.size(), 1u);
  EXPECT_EQ(cfg.wheels[0].name, u"Kolo 1");
  EXPECT_EQ(cfg.wheels[0].fields.size(), 8u);
  EXPECT_EQ(cfg.currentWheel, 0u);
  // The files written on first run are clean.
  EXPECT_TRUE(report.problems().empty());
}

TEST_F(SettingsDirTest, ReloadKeepsValuesOfRemovedKeys) {
  Write("config.json",
        R"({"sendDelay": 100, "language": "en", "segmentColor": "#102030", "toggleKey": "ctrl+f5",
            "readVoiceGender": "m", "steerSens": 20})");
  EngineConfig cfg;
  LoadEngineSettings(dir_.path(), cfg);
  EXPECT_EQ(cfg.settings.sendDelay, 100);
  EXPECT_EQ(cfg.settings.language, u"en");
  EXPECT_EQ(cfg.toggle.mods, kModCtrl);
  EXPECT_EQ(cfg.toggle.key.vk, 0x74);

  Write("config.json", R"({"language": "de"})");
  LoadEngineSettings(dir_.path(), cfg);
  EXPECT_EQ(cfg.settings.sendDelay, 100);
  EXPECT_EQ(cfg.settings.language, u"de");
  EXPECT_EQ(Hex(cfg.settings.segmentColor), "#102030");
  EXPECT_EQ(cfg.settings.readVoiceGender, u"m");
  EXPECT_DOUBLE_EQ(cfg.settings.steerSens, 20.0);
  EXPECT_EQ(cfg.settings.toggleKey, u"ctrl+f5");
  EXPECT_TRUE(cfg.toggle.valid);
  EXPECT_EQ(cfg.toggle.mods, kModCtrl);
  EXPECT_EQ(cfg.toggle.key.vk, 0x74);

  // A broken file and rejected values keep everything.
  const EngineSettings before = cfg.settings;
  for (const char* text :
       {"{\"sendDelay\": 5,}", "{\"language\": \"\"}", "{\"sendDelay\": \"5\"}"}) {
    SCOPED_TRACE(text);
    Write("config.json", text);
    LoadEngineSettings(dir_.path(), cfg);
    ExpectSettingsEq(cfg.settings, before);
    EXPECT_EQ(cfg.toggle.key.vk, 0x74);
  }
}

TEST_F(SettingsDirTest, BrokenConfigStillLoadsToggleAndWheels) {
  Write("config.json", "{\"sendDelay\": 5} // note");
  Write(
      "default.json",
      R"({"wheels":[{"name":"A","actions":[{"key":"a"}]},{"name":"B","actions":[{"key":"b"}]}]})");
  EngineConfig cfg;
  cfg.settings.sendDelay = 777;
  cfg.settings.toggleKey = u"mb4";
  LoadReport report;
  LoadEngineSettings(dir_.path(), cfg, &report);
  EXPECT_TRUE(report.Any(LoadProblem::Severity::Unusable));
  EXPECT_EQ(cfg.settings.sendDelay, 777);
  EXPECT_TRUE(cfg.toggle.valid);
  EXPECT_EQ(static_cast<int>(cfg.toggle.kind), static_cast<int>(ToggleKey::Kind::Mouse));
  EXPECT_EQ(cfg.toggle.mouseButton, 2);
  ASSERT_EQ(cfg.wheels.size(), 2u);
  EXPECT_EQ(cfg.wheels[1].name, u"B");
}

TEST_F(SettingsDirTest, BadToggleKeyFallsBackToX) {
  for (const char* key : {"foo+x", "+x", "pad:zz", "lmb", "\xC4\x85"}) {
    SCOPED_TRACE(key);
    Write("config.json", std::string("{\"toggleKey\": \"") + key + "\"}");
    EngineConfig cfg;
    LoadReport report;
    LoadEngineSettings(dir_.path(), cfg, &report);
    EXPECT_EQ(cfg.settings.toggleKey, u"x");
    EXPECT_TRUE(cfg.toggle.valid);
    EXPECT_EQ(static_cast<int>(cfg.toggle.kind), static_cast<int>(ToggleKey::Kind::Keyboard));
    EXPECT_EQ(cfg.toggle.mods, 0u);
    EXPECT_EQ(cfg.toggle.key.vk, 0x58);
    EXPECT_TRUE(report.Any(LoadProblem::Severity::Changed));
  }

  Write("config.json", R"({"toggleKey": "pad:LB"})");
  EngineConfig cfg;
  LoadEngineSettings(dir_.path(), cfg);
  EXPECT_EQ(cfg.settings.toggleKey, u"pad:LB");
  EXPECT_EQ(static_cast<int>(cfg.toggle.kind), static_cast<int>(ToggleKey::Kind::Pad));
  EXPECT_EQ(cfg.toggle.padMask, 0x0100u);
}

TEST_F(SettingsDirTest, NoUsableWheelInstallsTheFallback) {
  for (const char* text : {R"({"actions": []})", "{\"wheels\": [\"x\"]}", "{", "[]",
                           R"({"wheels":[{"name":"E","actions":[]}]})"}) {
    SCOPED_TRACE(text);
    Write("default.json", text);
    EngineConfig cfg;
    LoadEngineSettings(dir_.path(), cfg);
    ASSERT_EQ(cfg.wheels.size(), 1u);
    EXPECT_EQ(cfg.wheels[0].name, u"");
    ASSERT_EQ(cfg.wheels[0].fields.size(), 6u);
    for (const auto& f : cfg.wheels[0].fields) {
      EXPECT_EQ(f.name, u"");
      EXPECT_TRUE(f.steps.empty());
      EXPECT_EQ(f.delay, 30);
    }
    EXPECT_EQ(cfg.currentWheel, 0u);
    EXPECT_EQ(Read("default.json"), text);
  }
}

TEST_F(SettingsDirTest, ReloadMakesTheFirstWheelCurrent) {
  Write(
      "default.json",
      R"({"wheels":[{"name":"A","actions":[{}]},{"name":"B","actions":[{}]},{"name":"C","actions":[{}]}]})");
  EngineConfig cfg;
  LoadEngineSettings(dir_.path(), cfg);
  ASSERT_EQ(cfg.wheels.size(), 3u);
  cfg.currentWheel = 2;
  Write("default.json", R"({"wheels":[{"name":"Z","actions":[{}]},{"name":"Y","actions":[{}]}]})");
  LoadEngineSettings(dir_.path(), cfg);
  ASSERT_EQ(cfg.wheels.size(), 2u);
  EXPECT_EQ(cfg.wheels[0].name, u"Z");
  EXPECT_EQ(cfg.currentWheel, 0u);
}

// ---------------------------------------------------------------------------
// Engine message table.

struct MessageText {
  EngineMessage id;
  std::u16string pl;
  std::u16string en;
};

const std::vector<MessageText>& PolishAndEnglish() {
  static const std::vector<MessageText> table = {
      {EngineMessage::GazeActive, u"aktywny", u"active"},
      {EngineMessage::InitError, u"błąd inicjalizacji", u"initialization error"},
      {EngineMessage::GazeDisabled, u"wyłączony (gazeEnabled = false)",
       u"disabled (gazeEnabled = false)"},
      {EngineMessage::GazeSearching, u"szukanie urządzenia…", u"searching for device…"},
      {EngineMessage::GazeLibraryMissing,
       u"brak tobii_stream_engine.dll (zainstaluj oprogramowanie Tobii)",
       u"tobii_stream_engine.dll missing (install the Tobii software)"},
      {EngineMessage::GazeNoDevice, u"nie wykryto urządzenia", u"no device detected"},
      {EngineMessage::VoiceDisabled, u"wyłączony (voiceEnabled = false)",
       u"disabled (voiceEnabled = false)"},
      {EngineMessage::VoiceLoadingModel, u"ładowanie modelu…", u"loading model…"},
      {EngineMessage::VoiceLibraryMissing, u"brak libvosk.dll", u"libvosk.dll missing"},
      {EngineMessage::VoiceModelMissing, u"brak katalogu modelu języka",
       u"language model folder missing"},
      {EngineMessage::VoiceNoMicrophone, u"brak mikrofonu", u"no microphone"},
      {EngineMessage::HotkeyFailed,
       u"Nie udało się zarejestrować globalnego skrótu '%s' — może być zajęty przez inny program.",
       u"Failed to register the global hotkey '%s' — it may be taken by another program."},
      {EngineMessage::HeldKeysPrefix, u"Wciśnięte:   ", u"Held:   "},
      {EngineMessage::PhoneFailed,
       u"Nie udało się połączyć z telefonem — podłącz go kablem USB, włącz debugowanie USB i "
       u"zezwól "
       u"temu komputerowi.",
       u"Could not connect to the phone — plug it in via USB, enable USB debugging and allow this "
       u"computer."},
  };
  return table;
}

TEST(EngineMessagesTest, LanguageCodes) {
  const char* const codes[] = {"pl", "en", "de", "es", "fr", "it", "uk", "ru", "zh_CN", "ko", "ja"};
  for (int i = 0; i < 11; ++i) {
    SCOPED_TRACE(codes[i]);
    EXPECT_EQ(EngineLanguageIndex(W(codes[i])), i);
  }
  for (const char* other : {"EN", "En", "", "en ", " en", "zh", "zh_cn", "zh-CN", "xx", "pl_PL"}) {
    SCOPED_TRACE(other);
    EXPECT_EQ(EngineLanguageIndex(W(other)), 0);
  }
}

TEST(EngineMessagesTest, PolishAndEnglishTexts) {
  for (const auto& m : PolishAndEnglish()) {
    SCOPED_TRACE(static_cast<int>(m.id));
    EXPECT_EQ(EngineMessageText(m.id, 0), m.pl);
    EXPECT_EQ(EngineMessageText(m.id, 1), m.en);
  }
}

int CountOf(std::u16string_view text, std::u16string_view what) {
  int n = 0;
  for (std::size_t p = text.find(what); p != std::u16string_view::npos; p = text.find(what, p + 1))
    ++n;
  return n;
}

TEST(EngineMessagesTest, EveryLanguageHasEveryMessage) {
  for (int lang = 0; lang < 11; ++lang) {
    SCOPED_TRACE(WideToUtf8(kEngineLanguages[lang]));
    for (EngineMessage id : kAllEngineMessages) {
      SCOPED_TRACE(static_cast<int>(id));
      const std::u16string_view text = EngineMessageText(id, lang);
      EXPECT_FALSE(text.empty());
      EXPECT_EQ(CountOf(text, u"%s"), id == EngineMessage::HotkeyFailed ? 1 : 0);
    }
    const std::u16string_view held = EngineMessageText(EngineMessage::HeldKeysPrefix, lang);
    ASSERT_GE(held.size(), 4u);
    EXPECT_EQ(held.substr(held.size() - 3), u"   ");
    EXPECT_NE(held[held.size() - 4], u' ');  // three blanks, not more
  }
}

TEST(EngineMessagesTest, Formatting) {
  EXPECT_EQ(FormatEngineMessage(EngineMessage::HotkeyFailed, 1, u"ctrl+x"),
            u"Failed to register the global hotkey 'ctrl+x' — it may be taken by another program.");
  EXPECT_EQ(FormatEngineMessage(EngineMessage::HotkeyFailed, 0, u"pad:lb"),
            u"Nie udało się zarejestrować globalnego skrótu 'pad:lb' — może być zajęty przez inny "
            u"program.");
  // The argument is inserted as it is, never read as a format.
  EXPECT_EQ(FormatEngineMessage(EngineMessage::HotkeyFailed, 1, u"%s%d%n"),
            u"Failed to register the global hotkey '%s%d%n' — it may be taken by another program.");
  EXPECT_EQ(FormatEngineMessage(EngineMessage::HotkeyFailed, 1, u""),
            u"Failed to register the global hotkey '' — it may be taken by another program.");
  // Every language puts the argument in.
  for (int lang = 0; lang < 11; ++lang) {
    SCOPED_TRACE(lang);
    const std::u16string text = FormatEngineMessage(EngineMessage::HotkeyFailed, lang, u"Ctrl+Ż");
    EXPECT_EQ(CountOf(text, u"Ctrl+Ż"), 1);
    EXPECT_EQ(CountOf(text, u"%s"), 0);
  }
  // Messages without a placeholder come back unchanged.
  EXPECT_EQ(FormatEngineMessage(EngineMessage::GazeActive, 1, u"ignored"), u"active");
  EXPECT_EQ(FormatEngineMessage(EngineMessage::HeldKeysPrefix, 0), u"Wciśnięte:   ");
}

}  // namespace
}  // namespace velmor
