#include "engine/core/settings.h"

#include <cmath>
#include <fstream>
#include <system_error>

#include "engine/core/text.h"

namespace velmor {

const char kDefaultConfigFileText[] =
    "{\n  \"segmentColor\": \"#3498DB\",\n  \"toggleKey\": \"x\"\n}\n";

namespace {

std::string Quote(std::u16string_view s) {
  return "\"" + WideToUtf8(s) + "\"";
}
std::string Num(double v) {
  return WideToUtf8(NumberToText(v));
}

// Applies one table row at a time. Each rule looks up the first member of
// that name; a missing member or one of another JSON type leaves the field
// alone.
class Applier {
 public:
  Applier(const JsonValue& root, LoadReport* report, const std::string& file)
      : root_(root), report_(report), file_(file) {}

  const JsonValue* Get(const char* key, JsonValue::Kind kind) {
    const JsonValue* v = root_.Find(Utf8ToWide(key));
    if (!v) return nullptr;
    if (v->kind != kind) {
      Changed(key, std::string("is ") + JsonKindName(v->kind) + ", expected " + JsonKindName(kind) +
                       "; ignored");
      return nullptr;
    }
    return v;
  }

  void Bool(const char* key, bool& field) {
    if (const JsonValue* v = Get(key, JsonValue::Kind::Bool)) field = v->boolean;
  }

  void String(const char* key, std::u16string& field) {
    if (const JsonValue* v = Get(key, JsonValue::Kind::String)) field = v->string;
  }

  void NonEmpty(const char* key, std::u16string& field) {
    if (const JsonValue* v = Get(key, JsonValue::Kind::String)) {
      if (v->string.empty())
        Changed(key, "is empty; ignored");
      else
        field = v->string;
    }
  }

  void OneOf(const char* key, std::u16string& field,
             std::initializer_list<std::u16string_view> ok) {
    const JsonValue* v = Get(key, JsonValue::Kind::String);
    if (!v) return;
    for (auto w : ok) {
      if (v->string == w) {
        field = v->string;
        return;
      }
    }
    std::string list;
    for (auto w : ok) list += (list.empty() ? "" : " or ") + Quote(w);
    Changed(key, Quote(v->string) + " is not " + list + "; ignored");
  }

  void Clamped(const char* key, int& field, int lo, int hi) {
    const JsonValue* v = Get(key, JsonValue::Kind::Number);
    if (!v) return;
    field = TruncClamp(v->number, lo, hi);
    if (field != v->number) Changed(key, Num(v->number) + " became " + std::to_string(field));
  }

  void Double(const char* key, double& field) {
    if (const JsonValue* v = Get(key, JsonValue::Kind::Number)) field = v->number;
  }

  void DoubleAbove(const char* key, double& field, double above) {
    const JsonValue* v = Get(key, JsonValue::Kind::Number);
    if (!v) return;
    if (v->number > above)
      field = v->number;
    else
      Changed(key, Num(v->number) + " is not greater than " + Num(above) + "; ignored");
  }

  void IntIn(const char* key, int& field, int lo, int hi) {
    const JsonValue* v = Get(key, JsonValue::Kind::Number);
    if (!v) return;
    double t = std::trunc(v->number);
    if (t >= lo && t <= hi) {
      field = static_cast<int>(t);
      if (t != v->number) Changed(key, Num(v->number) + " became " + std::to_string(field));
    } else {
      Changed(key, Num(v->number) + " is outside " + std::to_string(lo) + ".." +
                       std::to_string(hi) + "; ignored");
    }
  }

  void Changed(const char* key, const std::string& message) {
    if (report_) report_->Changed(file_, key, message);
  }

 private:
  const JsonValue& root_;
  LoadReport* report_;
  const std::string& file_;
};

// Every key of the settings table, in its order; used for reporting the
// members the engine does not read.
constexpr std::u16string_view kSettingKeys[] = {
    u"segmentColor",   u"toggleKey",     u"sendDelay",      u"keyHold",         u"mapDouble",
    u"mapHold",        u"xacStickAngle", u"steerSens",      u"steerCurve",      u"steerAxis",
    u"takeFocus",      u"gazeEnabled",   u"gazeDwell",      u"gazeDllPath",     u"voiceEnabled",
    u"voiceGlobal",    u"voiceModel",    u"voiceDllPath",   u"language",        u"launcherEnabled",
    u"launcherSize",   u"readAloud",     u"readAloudDwell", u"readVoiceGender", u"audioInDevice",
    u"audioOutDevice", u"readVolume",    u"phoneKeyboard",  u"voiceConfidence", u"voiceConfShow",
    u"voiceToast",     u"voiceToastPos", u"heldKeysShow",   u"heldKeysPos"};

bool IsSettingKey(std::u16string_view name) {
  for (auto k : kSettingKeys)
    if (k == name) return true;
  return false;
}

// Writes a first-run file through a temporary name so a crash never leaves
// half a file behind; the file is only put in place if it is still missing.
bool WriteNewFile(const std::filesystem::path& target, const char* text) {
  std::error_code ec;
  std::filesystem::path tmp = target;
  tmp += u".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    out.flush();
    if (!out) {
      out.close();
      std::filesystem::remove(tmp, ec);
      return false;
    }
  }
  if (std::filesystem::exists(target, ec)) {
    std::filesystem::remove(tmp, ec);
    return false;
  }
  std::filesystem::rename(tmp, target, ec);
  if (ec) {
    std::filesystem::remove(tmp, ec);
    return false;
  }
  return true;
}

}  // namespace

ToggleKey ParseToggleKey(std::u16string_view text) {
  ToggleKey t;
  const std::u16string s = ToLower(text);
  if (s.size() >= 4 && s.compare(0, 4, u"pad:") == 0) {
    if (auto mask = PadButtonMask(std::u16string_view(s).substr(4))) {
      t.kind = ToggleKey::Kind::Pad;
      t.padMask = *mask;
      t.valid = true;
    }
    return t;
  }
  if (s == u"mmb" || s == u"mb4" || s == u"mb5") {
    t.kind = ToggleKey::Kind::Mouse;
    t.mouseButton = s == u"mmb" ? 1 : s == u"mb4" ? 2 : 3;
    t.valid = true;
    return t;
  }
  t.kind = ToggleKey::Kind::Keyboard;
  std::size_t at = 0;
  for (;;) {
    std::size_t plus = s.find(u'+', at);
    // A part followed by nothing (the end, or a final plus) is the key.
    bool last = plus == std::u16string::npos || plus + 1 >= s.size();
    std::u16string_view part = std::u16string_view(s).substr(
        at, plus == std::u16string::npos ? std::u16string::npos : plus - at);
    if (last) {
      KeySpec k = ResolveKeyName(part);
      if (!k.valid || k.isMouse) return ToggleKey{};
      t.key = std::move(k);
      t.valid = true;
      return t;
    }
    if (part == u"ctrl")
      t.mods |= kModCtrl;
    else if (part == u"shift")
      t.mods |= kModShift;
    else if (part == u"alt")
      t.mods |= kModAlt;
    else if (part == u"win")
      t.mods |= kModWin;
    else
      return ToggleKey{};
    at = plus + 1;
  }
}

void ApplySettingsObject(const JsonValue& root, EngineSettings& s, LoadReport* report,
                         const std::string& file) {
  Applier a(root, report, file);
  if (const JsonValue* v = a.Get("segmentColor", JsonValue::Kind::String)) {
    if (auto rgb = ParseHexColor(v->string))
      s.segmentColor = *rgb;
    else
      a.Changed("segmentColor", Quote(v->string) + " is not #RRGGBB; the colour stays");
  }
  a.String("toggleKey", s.toggleKey);
  a.Clamped("sendDelay", s.sendDelay, 0, 2000);
  a.Clamped("keyHold", s.keyHold, 0, 1000);
  a.Clamped("mapDouble", s.mapDouble, 100, 2000);
  a.Clamped("mapHold", s.mapHold, 150, 5000);
  a.Double("xacStickAngle", s.xacStickAngle);
  a.DoubleAbove("steerSens", s.steerSens, 1.0);
  a.DoubleAbove("steerCurve", s.steerCurve, 0.05);
  a.IntIn("steerAxis", s.steerAxis, 0, 3);
  a.Bool("takeFocus", s.takeFocus);
  a.Bool("gazeEnabled", s.gazeEnabled);
  a.Clamped("gazeDwell", s.gazeDwell, 0, 10000);
  a.String("gazeDllPath", s.gazeDllPath);
  a.Bool("voiceEnabled", s.voiceEnabled);
  a.Bool("voiceGlobal", s.voiceGlobal);
  a.NonEmpty("voiceModel", s.voiceModel);
  a.String("voiceDllPath", s.voiceDllPath);
  a.NonEmpty("language", s.language);
  a.Bool("launcherEnabled", s.launcherEnabled);
  a.Clamped("launcherSize", s.launcherSize, 32, 256);
  a.Bool("readAloud", s.readAloud);
  a.Clamped("readAloudDwell", s.readAloudDwell, 300, 5000);
  a.OneOf("readVoiceGender", s.readVoiceGender, {u"f", u"m"});
  a.String("audioInDevice", s.audioInDevice);
  a.String("audioOutDevice", s.audioOutDevice);
  a.Clamped("readVolume", s.readVolume, 0, 100);
  a.OneOf("phoneKeyboard", s.phoneKeyboard, {u"text", u"uhid", u"raw"});
  a.Clamped("voiceConfidence", s.voiceConfidence, 0, 100);
  a.Bool("voiceConfShow", s.voiceConfShow);
  a.Bool("voiceToast", s.voiceToast);
  a.OneOf("voiceToastPos", s.voiceToastPos, {u"top", u"bottom"});
  a.Bool("heldKeysShow", s.heldKeysShow);
  a.OneOf("heldKeysPos", s.heldKeysPos, {u"top", u"bottom"});

  if (!report) return;
  for (std::size_t i = 0; i < root.members.size(); ++i) {
    const auto& name = root.members[i].name;
    bool dup = false;
    for (std::size_t j = 0; j < i && !dup; ++j) dup = root.members[j].name == name;
    if (dup) {
      if (IsSettingKey(name))
        report->Changed(file, WideToUtf8(name), "appears again; only the first value is used");
    } else if (!IsSettingKey(name)) {
      // The GUI keeps keys of its own in the same file; a typo shows up here too.
      report->Note(file, WideToUtf8(name), "not an engine setting; the engine ignores it");
    }
  }
}

bool LoadSettingsText(std::u16string_view text, EngineSettings& s, LoadReport* report) {
  JsonValue root;
  if (!ParseJsonDocument(text, root)) {
    if (report)
      report->Unusable("config.json", "",
                       "not valid JSON (or text after the closing brace); no setting was applied");
    return false;
  }
  if (!root.IsObject()) {
    if (report)
      report->Unusable("config.json", "",
                       std::string("the file holds ") + JsonKindName(root.kind) +
                           ", not an object; no setting was applied");
    return false;
  }
  ApplySettingsObject(root, s, report);
  return true;
}

bool LoadSettingsFile(const std::filesystem::path& file, EngineSettings& s, LoadReport* report) {
  auto text = ReadTextFile(file);
  if (!text) {
    if (report) report->Unusable("config.json", "", "cannot be read; no setting was applied");
    return false;
  }
  return LoadSettingsText(*text, s, report);
}

std::vector<std::string> CreateFirstRunFiles(const std::filesystem::path& dir) {
  struct FirstRun {
    const char* name;
    const char* text;
  };
  static constexpr FirstRun kFiles[] = {{"config.json", kDefaultConfigFileText},
                                        {"default.json", kDefaultWheelFileText},
                                        {"voice.json", kDefaultVoiceFileText}};
  std::vector<std::string> created;
  for (const auto& f : kFiles) {
    std::error_code ec;
    const auto path = dir / f.name;
    // Anything already there (even a broken file or a folder) is the user's.
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) continue;
    if (ec && ec != std::errc::no_such_file_or_directory) continue;
    if (WriteNewFile(path, f.text)) created.emplace_back(f.name);
  }
  return created;
}

Wheel FallbackWheel() {
  Wheel w;
  w.fields.resize(6);
  return w;
}

std::vector<std::string> LoadEngineSettings(const std::filesystem::path& programDir,
                                            EngineConfig& config, LoadReport* report) {
  auto created = CreateFirstRunFiles(programDir);
  LoadSettingsFile(programDir / "config.json", config.settings, report);

  config.toggle = ParseToggleKey(config.settings.toggleKey);
  if (!config.toggle.valid) {
    if (report)
      report->Changed("config.json", "toggleKey",
                      Quote(config.settings.toggleKey) +
                          " is not a key, mouse button or pad button; \"x\" is used");
    config.settings.toggleKey = u"x";
    config.toggle = ParseToggleKey(u"x");
  }

  LoadWheelFile(programDir / "default.json", config.wheels, kWheelFieldLimit, report);
  if (config.wheels.empty()) {
    if (report)
      report->Changed("default.json", "",
                      "no wheel with fields; one empty wheel of six fields is used");
    config.wheels.push_back(FallbackWheel());
  }
  config.currentWheel = 0;
  return created;
}

}  // namespace velmor
