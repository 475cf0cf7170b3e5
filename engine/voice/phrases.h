#pragma once

// The closed vocabulary of voice control: built-in commands and spelled
// numbers in eleven languages, the voice texts of wheel fields and the
// global voice actions, and the grammar text the recogniser is given.
// Pure: the caller holds the phrase lock.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/wheel_file.h"

namespace velmor::voice {

struct Phrase {
  std::string text;  // UTF-8, lower-cased, as the recogniser returns it
  int command = 0;   // built-in id, 100 + n, 300 + n, 500 + n; 0 for actions
  int wheel = -1;    // -1 built-in, -2 global action, else the wheel index
  int field = 0;     // field index, or the index in the global action list
};
using PhraseTable = std::vector<Phrase>;

inline constexpr int kWheelBuiltIn = -1;
inline constexpr int kWheelGlobalAction = -2;

// The voice language: `language` when it has a row in the language table
// and its model folder exists in `dir`; "en" otherwise.
std::u16string ResolveVoiceLanguage(std::u16string_view language, const std::filesystem::path& dir);
// The model folder of a language of the table; empty for others.
std::u16string ModelFolderOf(std::u16string_view language);
// The model folder the recogniser loads: `voiceModel` when it is not the
// default, else the folder of the voice language.
std::u16string ModelFolderName(std::u16string_view voiceModel, std::u16string_view voiceLanguage);

// The spelled number 1..99 in a voice language (UTF-16).
std::u16string NumberWord(std::u16string_view voiceLanguage, int n);

// The whole table: built-ins, numbers with their click variants, wheel
// field phrases, then global actions.
PhraseTable BuildPhrases(std::u16string_view voiceLanguage, const WheelList& wheels,
                         const std::vector<WheelAction>& globalActions);

// "[\"phrase\",...,\"[unk]\"]". With a lookup, a phrase with a word the
// model does not know (lookup < 0) is left out.
using WordLookup = std::function<int(const std::string& utf8Word)>;
std::string BuildGrammarText(const PhraseTable& phrases, const WordLookup& lookup);

// The global action list: the fields of voice.json (read as a command list)
// that have a voice text, then "schemat NAME" for every scheme.
std::vector<WheelAction> GlobalVoiceActions(const std::filesystem::path& dir,
                                            const std::vector<std::u16string>& schemes,
                                            LoadReport* report = nullptr);

}  // namespace velmor::voice
