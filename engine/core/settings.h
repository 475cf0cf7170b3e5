#pragma once

// The engine's settings record, filled from config.json in the program
// directory, and the toggle key derived from it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/core/json_reader.h"
#include "engine/core/key_names.h"
#include "engine/core/load_report.h"
#include "engine/core/wheel_file.h"

namespace velmor {

struct EngineSettings {
  Rgb segmentColor{0x34, 0x98, 0xDB};
  std::u16string toggleKey = u"x";
  int sendDelay = 250;
  int keyHold = 60;
  int mapDouble = 300;
  int mapHold = 400;
  double xacStickAngle = 0.0;
  double steerSens = 150.0;
  double steerCurve = 0.6;
  int steerAxis = 0;
  bool takeFocus = true;
  bool gazeEnabled = true;
  int gazeDwell = 900;
  std::u16string gazeDllPath;
  bool voiceEnabled = true;
  bool voiceGlobal = true;
  std::u16string voiceModel = u"vosk-model-small-pl-0.22";
  std::u16string voiceDllPath;
  std::u16string language = u"pl";
  bool launcherEnabled = false;
  int launcherSize = 64;
  bool readAloud = false;
  int readAloudDwell = 2000;
  std::u16string readVoiceGender = u"f";
  std::u16string audioInDevice;
  std::u16string audioOutDevice;
  int readVolume = 100;
  std::u16string phoneKeyboard = u"text";
  int voiceConfidence = 0;
  bool voiceConfShow = false;
  bool voiceToast = true;
  std::u16string voiceToastPos = u"top";
  bool heldKeysShow = true;
  std::u16string heldKeysPos = u"top";
};

// Modifier flags of a keyboard-chord toggle key (the RegisterHotKey values).
enum : std::uint32_t { kModAlt = 1, kModCtrl = 2, kModShift = 4, kModWin = 8 };

struct ToggleKey {
  enum class Kind : int { Keyboard = 0, Mouse = 1, Pad = 2 };
  Kind kind = Kind::Keyboard;
  std::uint32_t mods = 0;
  KeySpec key;                // keyboard chord
  int mouseButton = 0;        // kind Mouse: "mmb" = 1, "mb4" = 2, "mb5" = 3
  std::uint32_t padMask = 0;  // kind Pad
  bool valid = false;
};

// Parses a toggle key text; the result's valid flag says whether it parsed.
ToggleKey ParseToggleKey(std::u16string_view text);

// Applies the members of a parsed config.json root object to `s`, key by key
// in the table's order; absent keys and keys of the wrong type leave the
// field as it is.
void ApplySettingsObject(const JsonValue& root, EngineSettings& s, LoadReport* report = nullptr,
                         const std::string& fileLabel = "config.json");

// Reads and applies the settings file. False (settings untouched) when the
// file cannot be read, is not valid JSON, has text after the value, or its
// root is not an object.
bool LoadSettingsFile(const std::filesystem::path& file, EngineSettings& s,
                      LoadReport* report = nullptr);

// Parses config.json text already decoded. Same rules as the file.
bool LoadSettingsText(std::u16string_view text, EngineSettings& s, LoadReport* report = nullptr);

// The files written on first run, byte for byte.
extern const char kDefaultConfigFileText[];

// Creates config.json, default.json and voice.json in `dir` when missing;
// an existing file is never touched. Returns the names created.
std::vector<std::string> CreateFirstRunFiles(const std::filesystem::path& dir);

// What one settings load fills: the settings, the toggle key derived from
// them, the wheel list from default.json and the current wheel.
struct EngineConfig {
  EngineSettings settings;
  ToggleKey toggle;
  WheelList wheels;
  std::size_t currentWheel = 0;
};

// The whole load, in order: first-run files, config.json, the toggle key
// (falling back to "x"), default.json (falling back to one empty six-field
// wheel), wheel 0 made current. Silent unless a report is given. Returns the
// names of the first-run files it created.
std::vector<std::string> LoadEngineSettings(const std::filesystem::path& programDir,
                                            EngineConfig& config, LoadReport* report = nullptr);

// The wheel installed when default.json yields none.
Wheel FallbackWheel();

}  // namespace velmor
