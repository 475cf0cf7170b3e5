#include "tools/velmor-check/check.h"

#include <charconv>
#include <cstdio>

#include "engine/core/load_report.h"
#include "engine/core/settings.h"
#include "engine/core/text.h"
#include "engine/core/wheel_file.h"
#include "engine/mapping/schemes.h"
#include "engine/voice/phrases.h"
#include "tools/velmor-check/json_writer.h"
#include "tools/velmor-check/rules_check.h"

namespace velmor::check {

namespace {

constexpr const char* kUsage =
    "usage: velmor-check [--dir PROGRAM_DIR] [--json] [WHEEL_FILE...]\n"
    "       velmor-check key NAME [--json]\n"
    "       velmor-check simulate [--dir PROGRAM_DIR] 'down:f5 @120 up:f5 ...'\n"
    "       velmor-check grammar [--dir PROGRAM_DIR] [--json]\n";

std::string Hex(unsigned v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", digits, v);
  return buf;
}

std::string Quote(std::u16string_view s) {
  std::string out = "\"";
  for (char c : WideToUtf8(s)) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out + "\"";
}

std::string Num(double v) {
  return WideToUtf8(NumberToText(v));
}

std::string ColorText(const Rgb& c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
  return buf;
}

const char* TargetWord(const KeySpec& k) {
  if (k.wheelTarget) return "wheel";
  if (k.steerTarget) return "steer";
  if (k.offTarget) return "off";
  return "";
}

const char* MouseWord(int button) {
  static const char* kWords[] = {"left", "right", "middle", "x1", "x2"};
  return button >= 0 && button <= 4 ? kWords[button] : "?";
}

// ---- text output -----------------------------------------------------------

std::string KeyText(const KeySpec& k) {
  if (!k.valid) return Quote(k.name) + " (not a key name)";
  std::string s = Quote(k.name) + " ";
  if (k.isMouse) return s + "mouse " + MouseWord(k.mouseButton);
  if (k.vpad) return s + "vpad " + VpadControlName(k.vpad) + " (" + std::to_string(k.vpad) + ")";
  if (*TargetWord(k)) return s + "target " + TargetWord(k);
  return s + "vk " + Hex(k.vk, 2) + (k.extended ? " extended" : "");
}

std::string StepText(const Step& st) {
  std::string s = StepKindWord(st.kind);
  switch (st.kind) {
    case StepKind::Click:
      return s + " x" + std::to_string(st.value) + " " + KeyText(st.key);
    case StepKind::Hold:
      return s + " " + (st.value ? std::to_string(st.value) + " ms " : "(until released) ") +
             KeyText(st.key);
    case StepKind::Release:
    case StepKind::Toggle:
      return s + " " + KeyText(st.key);
    case StepKind::ReadSelection:
    case StepKind::ReleaseAll:
      return s;
    case StepKind::Wait:
      return s + " " + std::to_string(st.value) + " ms";
    case StepKind::Map:
      return s + " " + Quote(st.text) + " to " + (st.key.valid ? KeyText(st.key) : "(remove rule)");
    default:
      return s + " " + Quote(st.text);
  }
}

void PrintFields(std::string& o, const std::vector<WheelAction>& fields,
                 const std::string& indent) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto& f = fields[i];
    o += indent + "field " + std::to_string(i) + " " + Quote(f.name) + ": delay " +
         std::to_string(f.delay) + " ms";
    if (f.hasColor) o += ", colour " + ColorText(f.color);
    if (!f.icon.empty()) o += ", icon " + Quote(f.icon);
    if (!f.voice.empty()) o += ", voice " + Quote(f.voice);
    o += ", " + std::to_string(f.steps.size()) + (f.steps.size() == 1 ? " step\n" : " steps\n");
    for (std::size_t j = 0; j < f.steps.size(); ++j)
      o += indent + "  step " + std::to_string(j) + ": " + StepText(f.steps[j]) + "\n";
  }
}

struct LoadedFile {
  std::string label;
  bool ok = false;
  WheelList wheels;
};

std::string ToggleText(const ToggleKey& t) {
  switch (t.kind) {
    case ToggleKey::Kind::Mouse:
      return std::string("mouse button ") + (t.mouseButton == 1   ? "middle"
                                             : t.mouseButton == 2 ? "x1"
                                                                  : "x2");
    case ToggleKey::Kind::Pad:
      return "pad button mask " + Hex(t.padMask, 4);
    case ToggleKey::Kind::Keyboard:
      break;
  }
  std::string mods;
  if (t.mods & kModCtrl) mods += "ctrl+";
  if (t.mods & kModShift) mods += "shift+";
  if (t.mods & kModAlt) mods += "alt+";
  if (t.mods & kModWin) mods += "win+";
  return "keyboard " + mods + KeyText(t.key);
}

void PrintSettingsText(std::string& o, const EngineSettings& s) {
  auto str = [&](const char* k, const std::u16string& v) {
    o += "  " + std::string(k) + " = " + Quote(v) + "\n";
  };
  auto num = [&](const char* k, double v) { o += "  " + std::string(k) + " = " + Num(v) + "\n"; };
  auto flag = [&](const char* k, bool v) {
    o += "  " + std::string(k) + " = " + (v ? "true" : "false") + "\n";
  };
  o += "  segmentColor = \"" + ColorText(s.segmentColor) + "\"\n";
  str("toggleKey", s.toggleKey);
  num("sendDelay", s.sendDelay);
  num("keyHold", s.keyHold);
  num("mapDouble", s.mapDouble);
  num("mapHold", s.mapHold);
  num("xacStickAngle", s.xacStickAngle);
  num("steerSens", s.steerSens);
  num("steerCurve", s.steerCurve);
  num("steerAxis", s.steerAxis);
  flag("takeFocus", s.takeFocus);
  flag("gazeEnabled", s.gazeEnabled);
  num("gazeDwell", s.gazeDwell);
  str("gazeDllPath", s.gazeDllPath);
  flag("voiceEnabled", s.voiceEnabled);
  flag("voiceGlobal", s.voiceGlobal);
  str("voiceModel", s.voiceModel);
  str("voiceDllPath", s.voiceDllPath);
  str("language", s.language);
  flag("launcherEnabled", s.launcherEnabled);
  num("launcherSize", s.launcherSize);
  flag("readAloud", s.readAloud);
  num("readAloudDwell", s.readAloudDwell);
  str("readVoiceGender", s.readVoiceGender);
  str("audioInDevice", s.audioInDevice);
  str("audioOutDevice", s.audioOutDevice);
  num("readVolume", s.readVolume);
  str("phoneKeyboard", s.phoneKeyboard);
  num("voiceConfidence", s.voiceConfidence);
  flag("voiceConfShow", s.voiceConfShow);
  flag("voiceToast", s.voiceToast);
  str("voiceToastPos", s.voiceToastPos);
  flag("heldKeysShow", s.heldKeysShow);
  str("heldKeysPos", s.heldKeysPos);
}

// ---- JSON output -----------------------------------------------------------

void WriteKey(JsonWriter& w, const KeySpec& k) {
  w.BeginObject();
  w.Key("valid").Bool(k.valid);
  w.Key("name").String(k.name);
  w.Key("vk").Int(k.vk);
  w.Key("extended").Bool(k.extended);
  w.Key("mouse").Int(k.isMouse ? k.mouseButton : -1);
  w.Key("vpad").Int(k.vpad);
  w.Key("target").String(std::string_view(TargetWord(k)));
  w.EndObject();
}

void WriteFields(JsonWriter& w, const std::vector<WheelAction>& fields) {
  w.BeginArray();
  for (const auto& f : fields) {
    w.BeginObject();
    w.Key("name").String(f.name);
    w.Key("delay").Int(f.delay);
    w.Key("color").String(f.hasColor ? ColorText(f.color) : std::string());
    w.Key("icon").String(f.icon);
    w.Key("voice").String(f.voice);
    w.Key("steps").BeginArray();
    for (const auto& st : f.steps) {
      w.BeginObject();
      w.Key("kind").String(std::string_view(StepKindWord(st.kind)));
      w.Key("value").Int(st.value);
      w.Key("text").String(st.text);
      w.Key("key");
      WriteKey(w, st.key);
      w.EndObject();
    }
    w.EndArray();
    w.EndObject();
  }
  w.EndArray();
}

void WriteSettings(JsonWriter& w, const EngineSettings& s, const ToggleKey& t) {
  w.BeginObject();
  w.Key("segmentColor").String(ColorText(s.segmentColor));
  w.Key("toggleKey").String(s.toggleKey);
  w.Key("sendDelay").Int(s.sendDelay);
  w.Key("keyHold").Int(s.keyHold);
  w.Key("mapDouble").Int(s.mapDouble);
  w.Key("mapHold").Int(s.mapHold);
  w.Key("xacStickAngle").Double(s.xacStickAngle);
  w.Key("steerSens").Double(s.steerSens);
  w.Key("steerCurve").Double(s.steerCurve);
  w.Key("steerAxis").Int(s.steerAxis);
  w.Key("takeFocus").Bool(s.takeFocus);
  w.Key("gazeEnabled").Bool(s.gazeEnabled);
  w.Key("gazeDwell").Int(s.gazeDwell);
  w.Key("gazeDllPath").String(s.gazeDllPath);
  w.Key("voiceEnabled").Bool(s.voiceEnabled);
  w.Key("voiceGlobal").Bool(s.voiceGlobal);
  w.Key("voiceModel").String(s.voiceModel);
  w.Key("voiceDllPath").String(s.voiceDllPath);
  w.Key("language").String(s.language);
  w.Key("launcherEnabled").Bool(s.launcherEnabled);
  w.Key("launcherSize").Int(s.launcherSize);
  w.Key("readAloud").Bool(s.readAloud);
  w.Key("readAloudDwell").Int(s.readAloudDwell);
  w.Key("readVoiceGender").String(s.readVoiceGender);
  w.Key("audioInDevice").String(s.audioInDevice);
  w.Key("audioOutDevice").String(s.audioOutDevice);
  w.Key("readVolume").Int(s.readVolume);
  w.Key("phoneKeyboard").String(s.phoneKeyboard);
  w.Key("voiceConfidence").Int(s.voiceConfidence);
  w.Key("voiceConfShow").Bool(s.voiceConfShow);
  w.Key("voiceToast").Bool(s.voiceToast);
  w.Key("voiceToastPos").String(s.voiceToastPos);
  w.Key("heldKeysShow").Bool(s.heldKeysShow);
  w.Key("heldKeysPos").String(s.heldKeysPos);
  w.Key("toggle").BeginObject();
  static const char* kKinds[] = {"keyboard", "mouse", "pad"};
  w.Key("kind").String(std::string_view(kKinds[static_cast<int>(t.kind)]));
  w.Key("mods").Int(t.mods);
  w.Key("vk").Int(t.kind == ToggleKey::Kind::Keyboard ? t.key.vk : 0);
  w.Key("button").Int(t.mouseButton);
  w.Key("mask").Int(t.padMask);
  w.Key("valid").Bool(t.valid);
  w.EndObject();
  w.EndObject();
}

struct RuleLine {
  std::string src, gesture, device, target;
};

std::vector<RuleLine> RuleLines(const LoadedRules& rules) {
  std::vector<RuleLine> out;
  for (const auto& [id, target] : rules.global)
    out.push_back({GlobalSourceText(id), mapping::GestureWord(mapping::GestureOf(id)), "global",
                   TargetText(target)});
  for (const auto& r : rules.device) {
    std::string src = WideToUtf8(mapping::SourceName(r.kind, r.index));
    if (src.empty()) src = "vk " + Hex(r.index, 2);
    out.push_back(
        {src, mapping::GestureWord(r.gesture), WideToUtf8(r.device), TargetText(r.target)});
  }
  return out;
}

int RunSimulate(const std::vector<std::string>& args, const std::filesystem::path& defaultDir,
                std::string& out, std::string& err) {
  std::filesystem::path dir = defaultDir;
  std::string script;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--dir" && i + 1 < args.size()) {
      dir = std::filesystem::path(Utf8ToWide(args[++i]));
    } else {
      script += (script.empty() ? "" : " ") + args[i];
    }
  }
  if (script.empty()) {
    err += kUsage;
    return 2;
  }
  LoadReport report;
  EngineConfig config;
  LoadEngineSettings(dir, config, &report);
  const LoadedRules rules = LoadRules(dir, report);
  const mapping::GestureTiming timing{config.settings.mapDouble, config.settings.mapHold,
                                      config.settings.keyHold};
  out += "timing: double " + std::to_string(timing.mapDouble) + " ms, hold " +
         std::to_string(timing.mapHold) + " ms, tap " + std::to_string(timing.keyHold) + " ms\n";
  return SimulateGestures(rules.global, timing, script, out, err) ? 0 : 2;
}

int ExitCode(const LoadReport& r);

int RunGrammar(const std::vector<std::string>& args, const std::filesystem::path& defaultDir,
               std::string& out, std::string& err) {
  std::filesystem::path dir = defaultDir;
  bool json = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--dir" && i + 1 < args.size()) {
      dir = std::filesystem::path(Utf8ToWide(args[++i]));
    } else if (args[i] == "--json") {
      json = true;
    } else {
      err += kUsage;
      return 2;
    }
  }
  LoadReport report;
  EngineConfig config;
  LoadEngineSettings(dir, config, &report);
  const std::u16string language = voice::ResolveVoiceLanguage(config.settings.language, dir);
  const auto actions = voice::GlobalVoiceActions(dir, mapping::ListSchemes(dir), &report);
  const voice::PhraseTable phrases = voice::BuildPhrases(language, config.wheels, actions);
  const std::string grammar = voice::BuildGrammarText(phrases, {});
  const std::u16string model = voice::ModelFolderName(config.settings.voiceModel, language);
  if (json) {
    JsonWriter w;
    w.BeginObject();
    w.Key("language").String(language);
    w.Key("model").String(model);
    w.Key("phrases").BeginArray();
    for (const auto& p : phrases) {
      w.BeginObject();
      w.Key("text").String(std::string_view(p.text));
      w.Key("command").Int(p.command);
      w.Key("wheel").Int(p.wheel);
      w.Key("field").Int(p.field);
      w.EndObject();
    }
    w.EndArray();
    w.Key("grammar").String(std::string_view(grammar));
    w.EndObject();
    out += w.str() + "\n";
  } else {
    out += "voice language: " + WideToUtf8(language) + ", model folder: " + WideToUtf8(model) +
           "\n" + std::to_string(phrases.size()) + " phrases (text, command, wheel, field):\n";
    for (const auto& p : phrases)
      out += "  \"" + p.text + "\"\t" + std::to_string(p.command) + "\t" + std::to_string(p.wheel) +
             "\t" + std::to_string(p.field) + "\n";
    out += "grammar: " + grammar + "\n";
  }
  return ExitCode(report) == 2 ? 2 : 0;
}

int ExitCode(const LoadReport& r) {
  if (r.Any(LoadProblem::Severity::Unusable)) return 2;
  if (r.Any(LoadProblem::Severity::Changed)) return 1;
  return 0;
}

int RunKey(const std::vector<std::string>& args, std::string& out, std::string& err) {
  bool json = false;
  std::string name;
  bool haveName = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--json")
      json = true;
    else if (!haveName)
      name = args[i], haveName = true;
    else {
      err += kUsage;
      return 2;
    }
  }
  if (!haveName) {
    err += kUsage;
    return 2;
  }
  KeySpec k = ResolveKeyName(Utf8ToWide(name));
  if (json) {
    JsonWriter w;
    WriteKey(w, k);
    out += w.str() + "\n";
  } else {
    out += KeyText(k) + "\n";
  }
  return k.valid ? 0 : 1;
}

}  // namespace

int RunCheck(const std::vector<std::string>& args, const std::filesystem::path& defaultDir,
             std::string& out, std::string& err) {
  if (!args.empty() && args[0] == "key") return RunKey(args, out, err);
  if (!args.empty() && args[0] == "simulate") return RunSimulate(args, defaultDir, out, err);
  if (!args.empty() && args[0] == "grammar") return RunGrammar(args, defaultDir, out, err);

  std::filesystem::path dir = defaultDir;
  bool json = false;
  std::vector<std::filesystem::path> wheelFiles;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json") {
      json = true;
    } else if (a == "--dir") {
      if (i + 1 >= args.size()) {
        err += kUsage;
        return 2;
      }
      dir = std::filesystem::path(Utf8ToWide(args[++i]));
    } else if (a == "--help" || a == "-h") {
      out += kUsage;
      return 0;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      err += "velmor-check: unknown option " + a + "\n" + kUsage;
      return 2;
    } else {
      wheelFiles.emplace_back(Utf8ToWide(a));
    }
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) {
    err += "velmor-check: " + WideToUtf8(dir.u16string()) + " is not a directory\n";
    return 2;
  }

  LoadReport report;
  // The engine's own load, first-run files included.
  EngineConfig config;
  const auto created = LoadEngineSettings(dir, config, &report);

  LoadedFile voice;
  voice.label = "voice.json";
  voice.ok = LoadWheelFile(dir / "voice.json", voice.wheels, kCommandListFieldLimit, &report);

  const LoadedRules rules = LoadRules(dir, report);
  const std::vector<RuleLine> ruleLines = RuleLines(rules);

  std::vector<LoadedFile> extra;
  for (const auto& p : wheelFiles) {
    LoadedFile f;
    f.label = WideToUtf8(p.u16string());
    f.ok = LoadWheelFile(p, f.wheels, kWheelFieldLimit, &report);
    if (f.ok && f.wheels.empty())
      report.Changed(WideToUtf8(p.filename().u16string()), "",
                     "no wheel with fields; activating it would keep the current wheels");
    extra.push_back(std::move(f));
  }

  if (json) {
    JsonWriter w;
    w.BeginObject();
    w.Key("dir").String(dir.u16string());
    w.Key("created").BeginArray();
    for (const auto& c : created) w.String(c);
    w.EndArray();
    w.Key("settings");
    WriteSettings(w, config.settings, config.toggle);
    w.Key("wheels").BeginArray();
    auto wheels = [&](const std::string& file, const WheelList& list) {
      for (const auto& wh : list) {
        w.BeginObject();
        w.Key("file").String(file);
        w.Key("name").String(wh.name);
        w.Key("fields");
        WriteFields(w, wh.fields);
        w.EndObject();
      }
    };
    wheels("default.json", config.wheels);
    for (const auto& f : extra) wheels(f.label, f.wheels);
    w.EndArray();
    w.Key("voice");
    WriteFields(w, voice.wheels.empty() ? std::vector<WheelAction>{} : voice.wheels[0].fields);
    w.Key("rules").BeginArray();
    for (const auto& r : ruleLines) {
      w.BeginObject();
      w.Key("src").String(r.src);
      w.Key("gesture").String(r.gesture);
      w.Key("device").String(r.device);
      w.Key("target").String(r.target);
      w.EndObject();
    }
    w.EndArray();
    w.Key("problems").BeginArray();
    for (const auto& p : report.problems()) {
      w.BeginObject();
      w.Key("file").String(p.file);
      w.Key("path").String(p.path);
      w.Key("message").String(p.message);
      static const char* kSev[] = {"changed", "unusable", "note"};
      w.Key("severity").String(std::string_view(kSev[static_cast<int>(p.severity)]));
      w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    out += w.str() + "\n";
    return ExitCode(report);
  }

  std::string& o = out;
  o += "program directory: " + WideToUtf8(dir.u16string()) + "\n";
  for (const auto& c : created) o += "created " + c + " (first run)\n";
  o += "settings (config.json):\n";
  PrintSettingsText(o, config.settings);
  o += "toggle key: " + ToggleText(config.toggle) + "\n";
  auto wheels = [&](const std::string& file, const WheelList& list) {
    o += file + ": " + std::to_string(list.size()) + (list.size() == 1 ? " wheel\n" : " wheels\n");
    for (std::size_t i = 0; i < list.size(); ++i) {
      o += "  wheel " + std::to_string(i) + " " + Quote(list[i].name) + ": " +
           std::to_string(list[i].fields.size()) + " fields\n";
      PrintFields(o, list[i].fields, "    ");
    }
  };
  wheels("default.json", config.wheels);
  const auto& cmds = voice.wheels.empty() ? std::vector<WheelAction>{} : voice.wheels[0].fields;
  o += "voice.json: " + std::to_string(cmds.size()) + " commands\n";
  PrintFields(o, cmds, "  ");
  for (const auto& f : extra) wheels(f.label, f.wheels);
  if (rules.mapPresent || rules.devPresent) {
    o += "mapping rules (map.json " + std::to_string(rules.global.size()) + ", devmap.json " +
         std::to_string(rules.device.size()) + "):\n";
    for (const auto& r : ruleLines)
      o += "  " + r.device + " " + r.src + (r.gesture == "single" ? "" : " " + r.gesture) + " -> " +
           r.target + "\n";
  }

  const auto& problems = report.problems();
  if (problems.empty()) {
    o += "no problems\n";
  } else {
    o += "problems:\n";
    for (const auto& p : problems) {
      o += "  " + p.file + (p.path.empty() ? "" : ": " + p.path) + ": " + p.message +
           (p.severity == LoadProblem::Severity::Note ? " (note)" : "") + "\n";
    }
  }
  return ExitCode(report);
}

}  // namespace velmor::check
