#pragma once

// The overlay's windows on the GUI thread: the wheel (show, hide, tick,
// click, draw), the launcher button, the toast and the held-keys bar, and
// the toggle key. The engine's main window hands its messages and timers
// here; nothing in this file is called from another thread.

#include <cstdint>
#include <functional>
#include <string>

#include "engine/display/launcher.h"
#include "engine/display/wheel_cursor.h"

namespace velmor::overlay {

// Operations of subsystems that come later; empty ones do nothing.
struct OverlayHooks {
  std::function<void(const std::u16string&)> speak;  // queue a text for read-aloud
  std::function<void()> startPhoneMirror;
};
OverlayHooks& Hooks();

// Engine start: cursors restored, the overlay windows created, raw mouse
// input registered, the launcher placed, the toggle key installed (with
// the warning box when it cannot be registered).
void Start();
// Engine stop: the wheel hidden, hooks, grabs and timers of the overlay
// released, the hotkey unregistered. The windows stay.
void Stop();
// After a settings reload: toggle key (silently), launcher, bar, and the
// wheel redrawn when shown.
void Reload();
// The wheel list was replaced: wheel 0 current (already set by the
// caller), hover cleared, redrawn when shown.
void WheelListChanged();

void InstallToggleKey(bool warn);

void ShowWheel();
void HideWheel();
bool WheelVisible();
void DrawWheel();

void OnWheelTick();
void OnWheelClick();
void OnRawMouse(int dx, int dy, bool leftDown);
void OnMinimiseCheck();
void OnPadToggleTick();

void PlaceLauncher();
void OnLauncherTick();

void ShowToast(const std::u16string& text);
void OnToastTimer();
void UpdateHeldKeysBar();

// For tests and benchmarks.
const WheelCursor& Cursor();
const Launcher& LauncherState();
platform::Point WheelWindowPos();
bool HeldKeysBarShown();

}  // namespace velmor::overlay
