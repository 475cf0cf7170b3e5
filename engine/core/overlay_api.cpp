#include "engine/core/overlay_api.h"

#include <string>
#include <vector>

#include "engine/core/engine.h"
#include "engine/core/engine_messages.h"
#include "engine/core/messages.h"
#include "engine/display/gaze_sample.h"
#include "engine/mapping/mapping.h"
#include "engine/mapping/schemes.h"
#include "engine/platform/audio_capture.h"
#include "engine/platform/event_queue.h"
#include "engine/voice/voice.h"

namespace {

// Every export catches everything: nothing may unwind into a C caller.
template <typename F, typename R>
R Guarded(F&& f, R onFailure) noexcept {
  try {
    return f();
  } catch (...) {
    return onFailure;
  }
}

std::u16string FromC(const OverlayChar* s) {
  return s ? std::u16string(s) : std::u16string();
}

template <typename F>
void GuardedVoid(F&& f) noexcept {
  try {
    f();
  } catch (...) {
  }
}

// A returned string lives in its export's own buffer until that export is
// called again.
template <typename F>
const OverlayChar* GuardedText(std::u16string& buffer, F&& f) noexcept {
  try {
    buffer = f();
    return buffer.c_str();
  } catch (...) {
    return u"";
  }
}

std::u16string Joined(const std::vector<std::u16string>& names) {
  std::u16string out;
  for (const auto& n : names) {
    if (!out.empty()) out += u'\n';
    out += n;
  }
  return out;
}

}  // namespace

extern "C" {

int OverlayEngineStart(void) {
  return Guarded([] { return velmor::EngineStart() ? 1 : 0; }, 0);
}

int OverlayEngineStop(void) {
  return Guarded([] { return velmor::EngineStop(); }, 0);
}

void OverlayReloadConfig(void) {
  Guarded(
      [] {
        velmor::EngineReload();
        return 0;
      },
      0);
}

int OverlayActivateWheelFile(const OverlayChar* path) {
  if (!path) return 0;
  return Guarded(
      [&] { return velmor::EngineActivateWheelFile(std::filesystem::path(FromC(path))) ? 1 : 0; },
      0);
}

void OverlayToggleWheel(void) {
  Guarded(
      [] {
        velmor::ToggleWheel();
        return 0;
      },
      0);
}

int OverlayIsWheelVisible(void) {
  return velmor::WheelVisible() ? 1 : 0;
}

int64_t OverlayWheelCount(void) {
  return static_cast<int64_t>(velmor::CurrentWheels().size());
}

const OverlayChar* OverlayWheelsSnapshotJson(void) {
  static std::u16string buffer;  // overwritten by the next call
  return Guarded(
      [] {
        buffer = velmor::WheelsSnapshotJson();
        return buffer.c_str();
      },
      u"");
}

/* Gaze. */

const OverlayChar* OverlayGazeStatus(void) {
  static std::u16string buffer;
  return GuardedText(buffer, [] {
    // One message per gaze state; the state is 0 (disabled) until a gaze
    // thread runs, so this answers before the engine starts as well.
    static constexpr velmor::EngineMessage kTexts[] = {
        velmor::EngineMessage::GazeDisabled,       velmor::EngineMessage::GazeSearching,
        velmor::EngineMessage::GazeLibraryMissing, velmor::EngineMessage::GazeNoDevice,
        velmor::EngineMessage::GazeActive,         velmor::EngineMessage::InitError,
    };
    const int s = velmor::SharedGaze().state.load();
    return std::u16string(
        velmor::EngineMessageText(kTexts[s >= 0 && s <= 5 ? s : 0],
                                  velmor::EngineLanguageIndex(velmor::CurrentSettings().language)));
  });
}

/* Mapping rules and schemes. */

void OverlayReloadMapRules(void) {
  GuardedVoid([] {
    velmor::mapping::LoadMapRules(velmor::EngineDirectory());
    velmor::mapping::UpdateCapture();
  });
}

void OverlayReloadDevRules(void) {
  GuardedVoid([] { velmor::mapping::LoadDeviceRules(velmor::EngineDirectory()); });
}

int OverlayMappingCount(void) {
  return Guarded([] { return static_cast<int>(velmor::mapping::GlobalRuleCount()); }, 0);
}

int OverlayDevRuleCount(void) {
  return Guarded([] { return static_cast<int>(velmor::mapping::DeviceRuleCount()); }, 0);
}

int OverlaySaveMapProfile(const OverlayChar* name) {
  return Guarded(
      [&] {
        const auto& dir = velmor::EngineDirectory();
        if (!velmor::mapping::SaveScheme(dir, FromC(name))) return 0;
        velmor::mapping::WriteActiveScheme(dir, velmor::mapping::SchemeFolderName(FromC(name)));
        if (auto& hook = velmor::mapping::Hooks().schemesChanged) hook();
        return 1;
      },
      0);
}

int OverlayLoadMapProfile(const OverlayChar* name) {
  if (!name || !*name) return 0;
  return Guarded(
      [&] {
        // The main window takes the copy and frees it.
        velmor::platform::PostEngineMessage(
            velmor::WM_OVL_SCHEME, 0, reinterpret_cast<std::intptr_t>(new std::u16string(name)));
        return 1;
      },
      0);
}

int OverlayDeleteMapProfile(const OverlayChar* name) {
  return Guarded(
      [&] {
        if (!velmor::mapping::DeleteScheme(velmor::EngineDirectory(), FromC(name))) return 0;
        if (auto& hook = velmor::mapping::Hooks().schemesChanged) hook();
        return 1;
      },
      0);
}

const OverlayChar* OverlayMapProfiles(void) {
  static std::u16string buffer;
  return GuardedText(
      buffer, [] { return Joined(velmor::mapping::ListSchemes(velmor::EngineDirectory())); });
}

const OverlayChar* OverlayCurrentMapProfile(void) {
  static std::u16string buffer;
  return GuardedText(buffer,
                     [] { return velmor::mapping::ReadActiveScheme(velmor::EngineDirectory()); });
}

const OverlayChar* OverlayAllSchemes(void) {
  static std::u16string buffer;
  return GuardedText(buffer,
                     [] { return velmor::mapping::AllSchemesListing(velmor::EngineDirectory()); });
}

void OverlaySetMappingEnabled(int enabled) {
  GuardedVoid([&] { velmor::mapping::SetMappingEnabled(enabled != 0); });
}

int OverlayMappingEnabled(void) {
  return velmor::mapping::MappingEnabled() ? 1 : 0;
}

const OverlayChar* OverlayInputDevices(void) {
  static std::u16string buffer;
  return GuardedText(buffer, [] { return velmor::mapping::InputDeviceList(); });
}

int OverlayDevLearnStart(void) {
  return Guarded([] { return velmor::mapping::DevLearnStart() ? 1 : 0; }, 0);
}

const OverlayChar* OverlayDevLearned(void) {
  static std::u16string buffer;
  return GuardedText(buffer, [] { return velmor::mapping::DevLearned(); });
}

/* Voice. */

void OverlayRefreshVoice(void) {
  GuardedVoid([] {
    velmor::voice::BuildGlobalVoiceActions();
    velmor::voice::BuildPhraseTable(velmor::CurrentWheels());
  });
}

int OverlayVoicePhraseCount(void) {
  return Guarded([] { return static_cast<int>(velmor::voice::PhraseCount()); }, 0);
}

int OverlayVoiceWordKnown(const OverlayChar* word) {
  if (!word || !*word) return -1;
  return Guarded([&] { return velmor::voice::WordKnown(word); }, -1);
}

int OverlayVoiceDictEnsure(const OverlayChar* name) {
  return Guarded([&] { return velmor::voice::DictEnsure(FromC(name)); }, 0);
}

const OverlayChar* OverlayVoiceStatus(void) {
  static std::u16string buffer;
  return GuardedText(buffer, [] {
    return velmor::voice::StatusText(
        velmor::EngineLanguageIndex(velmor::CurrentSettings().language));
  });
}

const OverlayChar* OverlayAudioInputDevices(void) {
  static std::u16string buffer;
  return GuardedText(buffer, [] { return Joined(velmor::platform::AudioInputDevices()); });
}

const OverlayChar* OverlayAudioOutputDevices(void) {
  static std::u16string buffer;
  return GuardedText(buffer, [] { return Joined(velmor::platform::AudioOutputDevices()); });
}

}  // extern "C"
