#pragma once

// The engine's process-wide state and its life: start, stop, reload,
// activation, the main window's messages and the wheel's shown state. The
// C API in overlay_api.h is a thin layer over these.

#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/core/settings.h"
#include "engine/platform/desktop.h"

namespace velmor {

// Start once per process; a second call (also after a stop) does nothing
// and returns true.
bool EngineStart();
int EngineStop();
bool EngineRunning();
void EngineReload();

// Replaces the wheel list from a wheel file when it yields a wheel with
// fields; otherwise keeps the current list and returns false.
bool EngineActivateWheelFile(const std::filesystem::path& path);

// Copy-data activation: UTF-16 path bytes, trailing zero characters
// removed. False (and nothing changed) for a payload that is not one.
bool EngineActivateFromCopyData(const void* data, std::size_t bytes);

// The wheel's shown state and the focus record taken when it was shown. The
// overlay window draws and takes input on top of this.
void ShowWheel();
void HideWheel();
bool WheelVisible();
void ToggleWheel();  // hidden: show; shown: hide and give focus back

// Gives the cursor and the foreground back as they were when the wheel was
// shown, once.
void RestoreFocus();
// The focus record taken when the wheel shows, and its cursor alone given
// back (the minimise button leaves the focus where it is).
void RememberFocus();
void RestoreCursorOnly();

// The current wheel list (GUI thread).
const WheelList& CurrentWheels();
std::size_t CurrentWheelIndex();
const EngineSettings& CurrentSettings();
const ToggleKey& CurrentToggleKey();
void SetCurrentWheelIndex(std::size_t index);
const std::filesystem::path& EngineDirectory();

// The compact JSON of the wheel list the GUI's preview reads.
std::u16string WheelsSnapshotJson();

// Runs a field of the current list as the run-field message does; out of
// range indices do nothing.
void RunFieldByIndex(std::uintptr_t wheel, std::intptr_t field);

// Set by the headless host: a copy-data request with the quit tag ends its
// loop.
void SetQuitOnCopyDataRequest(bool enabled);

}  // namespace velmor
