#pragma once

/* The engine's C interface, called in-process by the GUI on its GUI thread.
 *
 * Strings are UTF-16 (OverlayChar), zero-terminated. A returned string
 * belongs to the engine and stays valid until the next call of the same
 * function; the caller never frees it. Flags and "bool" results are ints,
 * 1 for true and 0 for false. Nothing is thrown across this boundary.
 *
 * Each function is defined by the subsystem that owns it; the declarations
 * of subsystems not built into this engine yet have no definition, so a
 * caller fails to link instead of calling something that pretends to work. */

#include <stdint.h>

#ifdef _WIN32
#define OVERLAY_API __declspec(dllexport)
#else
#define OVERLAY_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef char16_t OverlayChar;

/* Lifecycle and wheels. */
OVERLAY_API int OverlayEngineStart(void);
OVERLAY_API int OverlayEngineStop(void);
OVERLAY_API void OverlayReloadConfig(void);
OVERLAY_API int OverlayActivateWheelFile(const OverlayChar* path);
OVERLAY_API void OverlayToggleWheel(void);
OVERLAY_API int OverlayIsWheelVisible(void);
OVERLAY_API int64_t OverlayWheelCount(void);
OVERLAY_API const OverlayChar* OverlayWheelsSnapshotJson(void);

/* Gaze. */
OVERLAY_API const OverlayChar* OverlayGazeStatus(void);

/* Mapping rules and schemes. */
OVERLAY_API const OverlayChar* OverlayAllSchemes(void);
OVERLAY_API const OverlayChar* OverlayMapProfiles(void);
OVERLAY_API const OverlayChar* OverlayCurrentMapProfile(void);
OVERLAY_API int OverlayLoadMapProfile(const OverlayChar* name);
OVERLAY_API int OverlaySaveMapProfile(const OverlayChar* name);
OVERLAY_API int OverlayDeleteMapProfile(const OverlayChar* name);
OVERLAY_API void OverlayReloadMapRules(void);
OVERLAY_API void OverlayReloadDevRules(void);
OVERLAY_API int OverlayDevRuleCount(void);
OVERLAY_API int OverlayMappingCount(void);
OVERLAY_API int OverlayMappingEnabled(void);
OVERLAY_API void OverlaySetMappingEnabled(int enabled);
OVERLAY_API const OverlayChar* OverlayInputDevices(void);
OVERLAY_API int OverlayDevLearnStart(void);
OVERLAY_API const OverlayChar* OverlayDevLearned(void);

/* Virtual pad and device hiding. */
OVERLAY_API int OverlayVpadInstalled(void);
OVERLAY_API void OverlayInstallVpad(void);
OVERLAY_API int OverlayHidHideInstalled(void);
OVERLAY_API void OverlayInstallHidHide(void);
OVERLAY_API int OverlayHideDevice(const OverlayChar* devicePath, int hide);

/* Adaptive controller. */
OVERLAY_API int OverlayXacDetected(void);
OVERLAY_API int OverlayXacTakeover(void);
OVERLAY_API int OverlayXacRestore(void);
OVERLAY_API intptr_t OverlayXacStart(void);
OVERLAY_API void OverlayXacStop(void);
OVERLAY_API int OverlayXacConnected(void);
OVERLAY_API int OverlayXacPassthrough(int enabled);
OVERLAY_API void OverlayXacStickPos(int* x, int* y);
OVERLAY_API double OverlayXacGetAngle(void);
OVERLAY_API void OverlayXacSetAngle(double radians);
OVERLAY_API int OverlayXacCalibrateForward(void);

/* Voice. */
OVERLAY_API void OverlayRefreshVoice(void);
OVERLAY_API int OverlayVoicePhraseCount(void);
OVERLAY_API int OverlayVoiceDictEnsure(const OverlayChar* text);
OVERLAY_API int OverlayVoiceWordKnown(const OverlayChar* word);
OVERLAY_API const OverlayChar* OverlayVoiceStatus(void);
OVERLAY_API const OverlayChar* OverlayAudioInputDevices(void);

/* Speech output. */
OVERLAY_API const OverlayChar* OverlayAudioOutputDevices(void);
OVERLAY_API void OverlayTtsSpeak(const OverlayChar* text);
OVERLAY_API int OverlayTtsStop(void);

#ifdef __cplusplus
}
#endif
