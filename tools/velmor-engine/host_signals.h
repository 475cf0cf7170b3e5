#pragma once

namespace velmor::host {

// Ctrl+C, a console close or a termination request ends the host's event
// loop (platform::QuitEventLoop), so the engine stops cleanly.
void InstallStopHandlers();

}  // namespace velmor::host
