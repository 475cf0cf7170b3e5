#pragma once

namespace velmor::gui {

// Ends the program's event loop: the tray's "Zakończ", a confirmed restart,
// the session's termination signal. Not QCoreApplication::quit(): in Qt 6
// that first asks every window to close, and the main window refuses (it
// hides to the tray), so the program would keep running. Queued, so the
// caller's own slot returns first.
void QuitProgram();

}  // namespace velmor::gui
