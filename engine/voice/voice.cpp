#include "engine/voice/voice.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/core/clock.h"
#include "engine/core/engine.h"
#include "engine/core/engine_messages.h"
#include "engine/core/messages.h"
#include "engine/core/step_runner.h"
#include "engine/core/text.h"
#include "engine/mapping/schemes.h"
#include "engine/platform/audio_capture.h"
#include "engine/platform/event_queue.h"
#include "engine/platform/shared_library.h"

namespace velmor::voice {

namespace {

// ---- the recogniser library --------------------------------------------------

using SetLogLevelFn = void (*)(int);
using ModelNewFn = void* (*)(const char*);
using ModelFreeFn = void (*)(void*);
using FindWordFn = int (*)(void*, const char*);
using RecognizerNewGrmFn = void* (*)(void*, float, const char*);
using SetGrmFn = void (*)(void*, const char*);
using AcceptFn = int (*)(void*, const char*, int);
using ResultFn = const char* (*)(void*);
using RecognizerFreeFn = void (*)(void*);
using SetWordsFn = void (*)(void*, int);

struct VoskApi {
  std::unique_ptr<platform::SharedLibrary> library;
  SetLogLevelFn setLogLevel = nullptr;
  ModelNewFn modelNew = nullptr;
  ModelFreeFn modelFree = nullptr;
  RecognizerNewGrmFn recognizerNewGrm = nullptr;
  SetGrmFn setGrm = nullptr;
  AcceptFn accept = nullptr;
  ResultFn result = nullptr;
  RecognizerFreeFn recognizerFree = nullptr;
  FindWordFn findWord = nullptr;
  SetWordsFn setWords = nullptr;

  template <typename F>
  void Find(F& slot, const char* name) {
    slot = reinterpret_cast<F>(library->Symbol(name));
  }
  bool Complete() const {
    // set_grm is not required: the recogniser libraries of the npm package
    // (0.3.39) do not export it, and a new recogniser with the new grammar
    // does the same.
    return modelNew && modelFree && recognizerNewGrm && accept && result && recognizerFree;
  }
};

// A call into the library that may fault; false when it did.
template <typename F>
bool Guarded(F&& f) {
  return platform::CallGuarded([](void* c) { (*static_cast<std::remove_reference_t<F>*>(c))(); },
                               &f);
}

// ---- shared state ---------------------------------------------------------

struct Settings {
  std::filesystem::path dir;
  std::u16string language = u"pl";
  std::u16string voiceModel = u"vosk-model-small-pl-0.22";
  std::u16string dllPath;
  std::u16string audioInDevice;
  bool enabled = true;
  bool global = true;
  int confidence = 0;
  bool confShow = false;
  bool toast = true;
};
std::mutex g_settingsLock;
Settings g_settings;

Settings CopySettings() {
  std::lock_guard lock(g_settingsLock);
  return g_settings;
}

std::mutex g_phraseLock;
PhraseTable g_phrases;                     // under g_phraseLock
std::vector<WheelAction> g_globalActions;  // under g_phraseLock
std::atomic<std::uint64_t> g_generation{0};

std::atomic<int> g_state{0};

// The speech-model record: the recogniser's model while the thread runs,
// and the dictionary model of the GUI's word checks.
struct ModelRecord {
  void* model = nullptr;
  FindWordFn findWord = nullptr;
};
std::mutex g_modelLock;
ModelRecord g_threadModel;  // under g_modelLock
struct DictModel {
  VoskApi api;
  void* model = nullptr;
  std::filesystem::path path;
};
std::unique_ptr<DictModel> g_dict;  // under g_modelLock

// The thread and its stop.
std::atomic<bool> g_stop{false};
// At exit the thread is let go rather than joined: one stuck inside the
// library must not hold up the process's end.
struct RecogniserThreadHandle {
  std::thread thread;
  ~RecogniserThreadHandle() {
    if (thread.joinable()) thread.detach();
  }
};
RecogniserThreadHandle g_handle;
std::thread& g_thread = g_handle.thread;
std::u16string g_loadedModel;  // GUI thread
struct Finished {
  std::mutex mutex;
  std::condition_variable cv;
  bool done = true;
};
std::shared_ptr<Finished> g_finished;

void SetState(VoiceState s) {
  g_state = static_cast<int>(s);
}

std::u16string ModelFolder(const Settings& s) {
  return ModelFolderName(s.voiceModel, ResolveVoiceLanguage(s.language, s.dir));
}

// A model name with a drive (or an absolute path) stands for itself; any
// other is a folder of the program directory.
std::filesystem::path ModelPathOf(const std::u16string& name, const std::filesystem::path& dir) {
  const std::filesystem::path p(name);
  if (name.find(u':') != std::u16string::npos || p.is_absolute()) return p;
  return dir / p;
}

bool LoadApi(const Settings& s, VoskApi& api) {
  if (!s.dllPath.empty()) api.library = platform::LoadSharedLibrary(s.dllPath, true);
  if (!api.library)
    api.library = platform::LoadSharedLibrary(
        (s.dir / std::filesystem::path(platform::RecogniserLibraryName())).u16string(), true);
  if (!api.library)
    api.library = platform::LoadSharedLibrary(platform::RecogniserLibraryName(), false);
  if (!api.library) return false;
  api.Find(api.setLogLevel, "vosk_set_log_level");
  api.Find(api.modelNew, "vosk_model_new");
  api.Find(api.modelFree, "vosk_model_free");
  api.Find(api.recognizerNewGrm, "vosk_recognizer_new_grm");
  api.Find(api.setGrm, "vosk_recognizer_set_grm");
  api.Find(api.accept, "vosk_recognizer_accept_waveform");
  api.Find(api.result, "vosk_recognizer_result");
  api.Find(api.recognizerFree, "vosk_recognizer_free");
  api.Find(api.findWord, "vosk_model_find_word");
  api.Find(api.setWords, "vosk_recognizer_set_words");
  return true;
}

int LookupWord(FindWordFn findWord, void* model, const std::string& word) {
  int r = -1;
  if (!Guarded([&] { r = findWord(model, word.c_str()); })) return -1;
  return r;
}

std::string GrammarFor(const VoskApi& api, void* model) {
  WordLookup lookup;
  if (api.findWord && model)
    lookup = [&](const std::string& w) { return LookupWord(api.findWord, model, w); };
  std::lock_guard lock(g_phraseLock);
  return BuildGrammarText(g_phrases, lookup);
}

void* NewRecognizer(const VoskApi& api, void* model, const std::string& grammar) {
  void* r = nullptr;
  if (!Guarded([&] { r = api.recognizerNewGrm(model, 16000.0f, grammar.c_str()); })) return nullptr;
  if (r && api.setWords) Guarded([&] { api.setWords(r, 1); });
  return r;
}

void FreeRecognizer(const VoskApi& api, void*& r) {
  if (r) Guarded([&] { api.recognizerFree(r); });
  r = nullptr;
}

void WithdrawAndFreeModel(const VoskApi& api, void*& model) {
  {
    std::lock_guard lock(g_modelLock);
    g_threadModel = {};
  }
  if (model) Guarded([&] { api.modelFree(model); });
  model = nullptr;
}

// Sleeps `ms` in 100 ms steps; false when the stop flag came first.
bool SleepWatchingStop(int ms) {
  for (int waited = 0; waited < ms; waited += 100) {
    if (g_stop) return false;
    EngineClock().SleepMs(100);
  }
  return !g_stop;
}

void RecogniserThread(std::shared_ptr<Finished> finished) {
  struct Done {
    std::shared_ptr<Finished> f;
    ~Done() {
      std::lock_guard lock(f->mutex);
      f->done = true;
      f->cv.notify_all();
    }
  } done{std::move(finished)};

  const Settings s = CopySettings();
  SetState(VoiceState::Loading);
  VoskApi api;
  if (!LoadApi(s, api)) {
    SetState(VoiceState::LibraryMissing);
    return;
  }
  if (!api.Complete()) {
    SetState(VoiceState::InitError);
    return;
  }
  if (api.setLogLevel) Guarded([&] { api.setLogLevel(-1); });

  void* model = nullptr;
  const std::string modelPath = WideToUtf8(ModelPathOf(ModelFolder(s), s.dir).u16string());
  if (!Guarded([&] { model = api.modelNew(modelPath.c_str()); }) || !model) {
    SetState(VoiceState::ModelMissing);
    return;
  }
  {
    std::lock_guard lock(g_modelLock);
    g_threadModel = {model, api.findWord};
  }
  std::uint64_t generation = g_generation.load();
  void* recognizer = NewRecognizer(api, model, GrammarFor(api, model));
  if (!recognizer) {
    SetState(VoiceState::InitError);
    WithdrawAndFreeModel(api, model);
    return;
  }

  std::unique_ptr<platform::AudioCapture> mic;
  while (!g_stop) {
    mic = platform::OpenAudioCapture(s.audioInDevice);
    if (mic) break;
    SetState(VoiceState::NoMicrophone);
    if (!SleepWatchingStop(3000)) break;
  }
  if (!mic) {
    FreeRecognizer(api, recognizer);
    WithdrawAndFreeModel(api, model);
    return;
  }
  SetState(VoiceState::Listening);

  std::vector<std::vector<std::uint8_t>> blocks;
  while (!g_stop) {
    blocks.clear();
    const bool alive = mic->Wait(250, blocks);
    if (g_generation.load() != generation) {
      generation = g_generation.load();
      const std::string grammar = GrammarFor(api, model);
      if (!api.setGrm || !Guarded([&] { api.setGrm(recognizer, grammar.c_str()); })) {
        // No set_grm, or the library faulted inside its own state: start
        // afresh with the new grammar.
        FreeRecognizer(api, recognizer);
        recognizer = NewRecognizer(api, model, grammar);
        if (!recognizer) {
          SetState(VoiceState::InitError);
          break;
        }
      }
    }
    for (const auto& block : blocks) {
      if (block.empty()) continue;
      int r = 0;
      if (!Guarded([&] {
            r = api.accept(recognizer, reinterpret_cast<const char*>(block.data()),
                           static_cast<int>(block.size()));
          }))
        continue;
      if (r != 1) continue;
      std::string json;
      if (Guarded([&] {
            const char* text = api.result(recognizer);
            json = text ? text : "";
          }))
        HandleResult(json);
    }
    // A microphone gone is not reopened; the thread waits for its stop.
    if (!alive) mic.reset();
    if (!mic) {
      while (!g_stop) EngineClock().SleepMs(100);
    }
  }
  mic.reset();
  FreeRecognizer(api, recognizer);
  WithdrawAndFreeModel(api, model);
}

void AppendLog(const std::filesystem::path& dir, int percent, bool ok, const std::string& text) {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  static std::mutex timeLock;  // localtime's buffer is shared
  {
    std::lock_guard lock(timeLock);
    if (const std::tm* lt = std::localtime(&now)) t = *lt;
  }
  char head[64];
  std::snprintf(head, sizeof head, "%04d-%02d-%02d %02d:%02d:%02d  %3d%%  %s  ", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, percent,
                ok ? "OK   " : "ODRZ ");
  std::ofstream out(dir / "voice_confidence.log", std::ios::app | std::ios::binary);
  out << head << text << "\r\n";
}

}  // namespace

VoiceState CurrentState() {
  return static_cast<VoiceState>(g_state.load());
}

std::u16string StatusText(int languageIndex) {
  static constexpr EngineMessage kTexts[] = {EngineMessage::VoiceDisabled,
                                             EngineMessage::VoiceLoadingModel,
                                             EngineMessage::VoiceLibraryMissing,
                                             EngineMessage::VoiceModelMissing,
                                             EngineMessage::VoiceNoMicrophone,
                                             EngineMessage::GazeActive,
                                             EngineMessage::InitError};
  const int s = g_state.load();
  return std::u16string(EngineMessageText(kTexts[s >= 0 && s <= 6 ? s : 0], languageIndex));
}

void SetVoiceSettings(const EngineSettings& e, const std::filesystem::path& dir) {
  std::lock_guard lock(g_settingsLock);
  g_settings.dir = dir;
  g_settings.language = e.language;
  g_settings.voiceModel = e.voiceModel;
  g_settings.dllPath = e.voiceDllPath;
  g_settings.audioInDevice = e.audioInDevice;
  g_settings.enabled = e.voiceEnabled;
  g_settings.global = e.voiceGlobal;
  g_settings.confidence = e.voiceConfidence;
  g_settings.confShow = e.voiceConfShow;
  g_settings.toast = e.voiceToast;
}

void BuildGlobalVoiceActions(LoadReport* report) {
  const std::filesystem::path dir = CopySettings().dir;
  auto actions = GlobalVoiceActions(dir, mapping::ListSchemes(dir), report);
  std::lock_guard lock(g_phraseLock);
  g_globalActions = std::move(actions);
}

void BuildPhraseTable(const WheelList& wheels) {
  const Settings s = CopySettings();
  const std::u16string language = ResolveVoiceLanguage(s.language, s.dir);
  {
    std::lock_guard lock(g_phraseLock);
    g_phrases = BuildPhrases(language, wheels, g_globalActions);
  }
  ++g_generation;
}

std::size_t PhraseCount() {
  std::lock_guard lock(g_phraseLock);
  return g_phrases.size();
}

void RunGlobalAction(std::size_t index) {
  WheelAction action;
  {
    std::lock_guard lock(g_phraseLock);
    if (index >= g_globalActions.size()) return;
    action = g_globalActions[index];
  }
  RunField(action, SendDelayMs());
}

bool RecogniserRunning() {
  return g_finished && [] {
    std::lock_guard lock(g_finished->mutex);
    return !g_finished->done;
  }();
}

void StartRecogniser() {
  if (RecogniserRunning()) return;
  if (g_thread.joinable()) g_thread.join();  // ended on its own
  g_stop = false;
  const Settings s = CopySettings();
  g_loadedModel = ModelFolder(s);
  g_finished = std::make_shared<Finished>();
  g_finished->done = false;
  SetState(VoiceState::Loading);
  try {
    g_thread = std::thread(RecogniserThread, g_finished);
  } catch (const std::system_error&) {
    g_finished->done = true;
    SetState(VoiceState::InitError);
  }
}

void RequestRecogniserStop() {
  g_stop = true;
}

void StopRecogniser() {
  g_stop = true;
  if (!g_thread.joinable()) return;
  bool done = false;
  {
    std::unique_lock lock(g_finished->mutex);
    done = g_finished->cv.wait_for(lock, std::chrono::milliseconds(2000),
                                   [] { return g_finished->done; });
  }
  if (done) {
    g_thread.join();
  } else {
    // Stuck inside the library: it ends on its own when the call returns.
    g_thread.detach();
  }
}

void ApplyVoiceSettings() {
  const Settings s = CopySettings();
  if (!s.enabled) {
    StopRecogniser();
    SetState(VoiceState::Off);
    return;
  }
  if (!RecogniserRunning()) {
    StartRecogniser();
  } else if (ModelFolder(s) != g_loadedModel) {
    StopRecogniser();
    StartRecogniser();
  }
}

int WordKnown(std::u16string_view word) {
  if (word.empty()) return -1;
  const std::string utf8 = WideToUtf8(ToLower(word));
  std::lock_guard lock(g_modelLock);
  void* model = g_threadModel.model;
  FindWordFn find = g_threadModel.findWord;
  if (!model && g_dict) {
    model = g_dict->model;
    find = g_dict->api.findWord;
  }
  if (!model || !find) return -1;
  return LookupWord(find, model, utf8) >= 0 ? 1 : 0;
}

int DictEnsure(std::u16string_view modelName) {
  const Settings s = CopySettings();
  std::lock_guard lock(g_modelLock);
  if (g_threadModel.model) return 1;
  const std::filesystem::path path =
      ModelPathOf(modelName.empty() ? ModelFolder(s) : std::u16string(modelName), s.dir);
  if (g_dict && g_dict->path == path) return 1;
  std::error_code ec;
  if (!std::filesystem::is_directory(path, ec)) return 0;
  auto dict = std::make_unique<DictModel>();
  if (!LoadApi(s, dict->api) || !dict->api.modelNew || !dict->api.findWord) return 0;
  if (dict->api.setLogLevel) Guarded([&] { dict->api.setLogLevel(-1); });
  const std::string utf8 = WideToUtf8(path.u16string());
  if (!Guarded([&] { dict->model = dict->api.modelNew(utf8.c_str()); }) || !dict->model) return 0;
  dict->path = path;
  if (g_dict && g_dict->model && g_dict->api.modelFree)
    Guarded([&] { g_dict->api.modelFree(g_dict->model); });
  g_dict = std::move(dict);
  return 1;
}

double ResultConfidence(std::string_view json) {
  double lowest = 1.0;
  bool any = false;
  constexpr std::string_view kConf = "\"conf\"";
  for (std::size_t at = json.find(kConf); at != std::string_view::npos;
       at = json.find(kConf, at + kConf.size())) {
    const std::size_t colon = json.find(':', at + kConf.size());
    if (colon == std::string_view::npos) break;
    const std::string rest(json.substr(colon + 1, 64));
    const double v = std::strtod(rest.c_str(), nullptr);
    lowest = any ? std::min(lowest, v) : v;
    any = true;
  }
  return lowest;
}

std::string ResultText(std::string_view json) {
  const std::size_t key = json.find("\"text\"");
  if (key == std::string_view::npos) return {};
  const std::size_t colon = json.find(':', key + 6);
  if (colon == std::string_view::npos) return {};
  const std::size_t open = json.find('"', colon + 1);
  if (open == std::string_view::npos) return {};
  const std::size_t close = json.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  return std::string(json.substr(open + 1, close - open - 1));
}

void HandleResult(std::string_view json) {
  const double confidence = ResultConfidence(json);
  const std::string text = ResultText(json);
  if (text.empty()) return;
  Phrase match;
  {
    std::lock_guard lock(g_phraseLock);
    const Phrase* found = nullptr;
    for (const auto& p : g_phrases)
      if (p.text == text) {
        found = &p;
        break;
      }
    if (!found) return;
    match = *found;
  }
  const Settings s = CopySettings();
  const int percent = static_cast<int>(confidence * 100.0 + 0.5);
  const bool accepted = percent >= s.confidence;
  if (s.confShow) AppendLog(s.dir, percent, accepted, text);
  if (!accepted) return;
  if (match.command != 0) {
    platform::PostEngineMessage(WM_OVL_COMMAND, static_cast<std::uintptr_t>(match.command));
  } else if (match.wheel == kWheelGlobalAction) {
    platform::PostEngineMessage(WM_OVL_RUNCOMMAND, static_cast<std::uintptr_t>(match.field));
  } else {
    if (!s.global && !WheelVisible()) return;
    platform::PostEngineMessage(WM_OVL_RUNFIELD, static_cast<std::uintptr_t>(match.wheel),
                                match.field);
  }
  if (s.toast) {
    std::u16string toast = Utf8ToWide(text);
    if (s.confShow) {
      char buf[32];
      std::snprintf(buf, sizeof buf, " \xC2\xB7 %d%%", percent);
      toast += Utf8ToWide(buf);
    }
    platform::PostEngineMessage(
        WM_OVL_TOAST, 0, reinterpret_cast<std::intptr_t>(new std::u16string(std::move(toast))));
  }
}

void ShutdownVoice() {
  StopRecogniser();
  SetState(VoiceState::Off);
  std::lock_guard lock(g_modelLock);
  if (g_dict && g_dict->model && g_dict->api.modelFree)
    Guarded([&] { g_dict->api.modelFree(g_dict->model); });
  g_dict.reset();
}

}  // namespace velmor::voice
