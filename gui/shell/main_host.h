#pragma once

// How the program's entry point ties the engine and the single-instance
// requests into Qt's event loop. One file per backend: on Windows the
// engine's hidden window and the show message already arrive through Qt's
// own dispatcher; on X11 both are descriptors to watch.

#include <functional>

class QObject;

namespace velmor::gui {

// After OverlayEngineStart: the engine's queue is served from the loop.
void AttachEngineToEventLoop(QObject* owner);
// Calls `show` when a second start of the program asks for the window.
void WatchShowRequests(QObject* owner, std::function<void()> show);
// Ends the loop on the session's termination signals, so that the engine is
// stopped the normal way (keys released, threads ended).
void QuitOnTerminationSignals(QObject* owner);

}  // namespace velmor::gui
