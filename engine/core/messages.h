#pragma once

// The engine's own texts (gaze and voice status, hotkey failure, held-keys
// prefix, phone failure) in the eleven languages of the "language" setting.

#include <array>
#include <string>
#include <string_view>

namespace velmor {

enum class EngineMessage : int {
  GazeActive = 0,
  InitError = 1,
  GazeDisabled = 2,
  GazeSearching = 3,
  GazeLibraryMissing = 4,
  GazeNoDevice = 5,
  VoiceDisabled = 6,
  VoiceLoadingModel = 7,
  VoiceLibraryMissing = 8,
  VoiceModelMissing = 9,
  VoiceNoMicrophone = 10,
  HotkeyFailed = 18,  // one %s: the toggle key text
  HeldKeysPrefix = 19,
  PhoneFailed = 20,
};

inline constexpr std::array<EngineMessage, 14> kAllEngineMessages = {
    EngineMessage::GazeActive,          EngineMessage::InitError,
    EngineMessage::GazeDisabled,        EngineMessage::GazeSearching,
    EngineMessage::GazeLibraryMissing,  EngineMessage::GazeNoDevice,
    EngineMessage::VoiceDisabled,       EngineMessage::VoiceLoadingModel,
    EngineMessage::VoiceLibraryMissing, EngineMessage::VoiceModelMissing,
    EngineMessage::VoiceNoMicrophone,   EngineMessage::HotkeyFailed,
    EngineMessage::HeldKeysPrefix,      EngineMessage::PhoneFailed,
};

// The language codes, in the order they are matched.
inline constexpr std::array<std::u16string_view, 11> kEngineLanguages = {
    u"pl", u"en", u"de", u"es", u"fr", u"it", u"uk", u"ru", u"zh_CN", u"ko", u"ja"};

// Exact, case-sensitive match of the "language" setting; 0 (Polish) when
// nothing matches.
int EngineLanguageIndex(std::u16string_view language);

// The raw table text, "%s" left in place.
std::u16string_view EngineMessageText(EngineMessage id, int languageIndex);

// The text with its one "%s" replaced by `arg` (messages without a
// placeholder are returned as they are).
std::u16string FormatEngineMessage(EngineMessage id, int languageIndex,
                                   std::u16string_view arg = {});

}  // namespace velmor
