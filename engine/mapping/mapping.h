#pragma once

// The live mapping rules: the tables loaded from the program directory, the
// dispatch of global and per-device input through the gesture state
// machine, the input capture the rules need, device learning and the device
// list. The engine's main window feeds it on the GUI thread; other threads
// may dispatch too.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "engine/core/load_report.h"
#include "engine/mapping/gestures.h"
#include "engine/mapping/map_rules.h"
#include "engine/platform/event_queue.h"

namespace velmor::mapping {

// Rebuild the tables from map.json / devmap.json in `dir`, dropping the
// gesture states of the table they replace (and releasing what those hold).
void LoadMapRules(const std::filesystem::path& dir, LoadReport* report = nullptr);
void LoadDeviceRules(const std::filesystem::path& dir, LoadReport* report = nullptr);
// Sets (target set) or removes one global rule in memory; false when the
// source does not parse. The capture follows through WM_OVL_REHOOK.
bool SetGlobalRule(std::u16string_view src, const RuleTarget& target);

std::size_t GlobalRuleCount();
std::size_t DeviceRuleCount();

// A key (vk) or mouse button (0x10000000 + button) of any keyboard or
// mouse, or a pad button (0x20000000 + mask); true when it is swallowed.
bool DispatchGlobalInput(std::uint32_t code, bool down);
// A button of one device. Never swallowed. While learning is armed the
// first press is learned instead.
void DispatchDeviceInput(const std::u16string& device, const std::u16string& display,
                         const std::u16string& source, SourceKind kind, std::uint32_t index,
                         bool down);
// A raw-input event from the platform, with its names worked out.
void OnDeviceEvent(const platform::DeviceInput& input);

void GestureTick();  // timer 7007
void ClearGestureStates(std::u16string_view prefix);

// Disabling releases every target once; enabling again only lets new
// dispatches through.
void SetMappingEnabled(bool enabled);
bool MappingEnabled();

void SetGestureTiming(int mapDoubleMs, int mapHoldMs);
GestureTiming CurrentGestureTiming();

// Installs or removes keyboard and mouse capture and the pad polling timer
// to match the global rules, and starts the gesture timer for a gesture
// that another thread dispatched. GUI thread.
void UpdateCapture();
void PadPollTick();  // timer 7005
// The mask-change step of pad polling: dispatches every pad source whose
// fully pressed state differs between the two masks, in table order.
void DispatchPadMaskChange(std::uint32_t oldMask, std::uint32_t newMask);

// Scheme switch on the GUI thread: copies the scheme over the live files
// and reloads.
void LoadScheme(const std::filesystem::path& dir, std::u16string_view name);

// Learning: arms it and returns whether it was armed; the learned text is
// "device\tdisplay\tsource", or "" while nothing was learned.
bool DevLearnStart();
std::u16string DevLearned();

// The device list: "device\tdisplay\tkind" lines.
std::u16string InputDeviceList();

// Engine stop: states cleared, capture removed, timers killed.
void StopMapping();

// What other subsystems plug in; every member may be empty.
struct MappingHooks {
  std::function<void()> schemesChanged;       // voice commands follow the schemes
  std::function<bool()> xacConnected;         // the taken-over adaptive controller
  std::function<bool()> virtualPadConnected;  // the virtual Xbox 360 pad
};
MappingHooks& Hooks();

}  // namespace velmor::mapping
