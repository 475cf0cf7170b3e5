#pragma once

#include <cstdint>

namespace velmor::gui {

// Set in the environment of the program a language change restarts, so
// that the new process waits for the old one to end instead of taking it
// for a running copy and turning itself away.
inline constexpr char kRestartedVariable[] = "VELMOR_RESTARTED";
// How long the restarted process waits for its predecessor: the engine's
// stop and the process's end take well under a second; a predecessor that
// hangs longer than this is treated as a running copy.
inline constexpr std::uint32_t kRestartWaitMs = 20000;

// Starts the program's own executable again, detached and with no
// arguments, marked as a restart. False when it could not be started.
bool StartRestartedProgram();

}  // namespace velmor::gui
