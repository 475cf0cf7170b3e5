#pragma once

// Running a field: a detached worker thread per field turns its steps into
// synthesized input and a few engine actions, with every pause taken from
// the engine clock.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/core/key_names.h"
#include "engine/core/wheel_file.h"

namespace velmor {

// Operations that belong to other subsystems. Each is empty until its
// subsystem installs it; an empty one does nothing.
struct StepServices {
  std::function<void()> readSelection;                   // read the selection aloud
  std::function<void(const std::u16string&)> placeCall;  // phone call
  std::function<void(const std::u16string&, const KeySpec&)> toggleMapRule;  // "map" step
  std::function<void(int code, bool down)> vpadControl;                      // virtual pad control
  // The index of the first wheel of the current list with this name
  // (compared lower-cased).
  std::function<std::optional<std::size_t>(const std::u16string&)> findWheel;
};
StepServices& Services();

// The timings read at the moment of use; the settings load sets them.
void SetStepTimings(int keyHoldMs, int sendDelayMs);
int KeyHoldMs();
int SendDelayMs();

// Starts a detached worker for a copy of `field`; returns at once. A field
// without steps is not started. False when no thread could be created (the
// field is not run).
bool RunField(const WheelAction& field, std::int64_t startPauseMs);

// Runs one field on the calling thread, start pause included; what the
// worker does.
void RunFieldNow(const WheelAction& field, std::int64_t startPauseMs);

// The press/release primitive for every key, button and target. Any thread.
void PressKey(const KeySpec& key, bool down);

// Releases everything held: the held-keys table, then every key and mouse
// button the system reports down.
void ReleaseAll();

// Workers still running, and a wait (in real time) until none is. For
// tests and for a host that must not exit under a running field.
std::size_t RunningFieldCount();
bool WaitForFieldsIdle(std::int64_t timeoutMs);

}  // namespace velmor
