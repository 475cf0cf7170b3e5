#include "gui/shell/main_host.h"

namespace velmor::gui {

// The engine's hidden main window is an ordinary window of the GUI thread:
// Qt's dispatcher delivers its messages and timers.
void AttachEngineToEventLoop(QObject*) {}

// The show request is a broadcast window message, seen by ShowMainFilter.
void WatchShowRequests(QObject*, std::function<void()>) {}

// Qt ends the loop itself when the session ends.
void QuitOnTerminationSignals(QObject*) {}

}  // namespace velmor::gui
