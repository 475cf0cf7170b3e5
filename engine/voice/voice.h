#pragma once

// Voice control at run time: the phrase table and the global voice actions
// of the running engine, the recogniser thread that listens to the
// microphone, and the vocabulary questions of the GUI.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/settings.h"
#include "engine/voice/phrases.h"

namespace velmor::voice {

// Voice states; their status texts are engine messages.
enum class VoiceState : int {
  Off = 0,
  Loading = 1,
  LibraryMissing = 2,
  ModelMissing = 3,
  NoMicrophone = 4,
  Listening = 5,
  InitError = 6,
};
VoiceState CurrentState();
std::u16string StatusText(int languageIndex);

// The voice settings the thread and the result handling read (taken at
// every settings load).
void SetVoiceSettings(const EngineSettings& settings, const std::filesystem::path& dir);

// voice.json's voiced fields plus one "schemat NAME" per scheme.
void BuildGlobalVoiceActions(LoadReport* report = nullptr);
// From the given wheel list and the global actions; bumps the generation.
void BuildPhraseTable(const WheelList& wheels);
std::size_t PhraseCount();
// The global action `index` runs as a field (WM_OVL_RUNCOMMAND).
void RunGlobalAction(std::size_t index);

// Thread control (GUI thread). Start does nothing while a thread runs;
// Stop waits for it at most 2000 ms.
void StartRecogniser();
void StopRecogniser();
// Only sets the stop flag (any thread); StopRecogniser also waits.
void RequestRecogniserStop();
bool RecogniserRunning();
// After a settings reload: stop, start or restart as the settings ask.
void ApplyVoiceSettings();

// 1 known, 0 unknown, -1 no word or no model.
int WordKnown(std::u16string_view word);
// Loads the dictionary model (see OverlayVoiceDictEnsure); 1 on success.
int DictEnsure(std::u16string_view modelName);

// One final result of the recogniser, as the thread handles it. Exposed for
// the checker and the benchmarks.
double ResultConfidence(std::string_view json);
std::string ResultText(std::string_view json);
void HandleResult(std::string_view json);

// Engine stop: the thread stopped, the dictionary model freed.
void ShutdownVoice();

}  // namespace velmor::voice
