#pragma once

// The input capture's side of the backend's X connection: the events of its
// passive grabs and its XI2 raw device events, taken out of the connection's
// stream by the event queue, the answers given once the engine has decided,
// and the engine's own XTest input passed by the grabs. Everything here runs
// under an X11Session except AnswerCapturedInput, which opens its own.

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/linux/overlay_events_x11.h"

namespace velmor::platform::linux_backend {

// Takes `ev` when it is a press or release of a grabbed key or button and
// appends what it makes. False leaves it to the overlay.
bool CollectCaptureEvent(Display* dpy, const XEvent& ev, std::vector<OverlayAction>& out);
// The same for an XI2 event whose data has been fetched: the capture takes
// the slave devices' copies of raw key and button events and the device
// hierarchy's changes.
bool CollectCaptureRaw(Display* dpy, const XGenericEventCookie& cookie,
                       std::vector<OverlayAction>& out);

// The engine's answer to a kCaptured action that waits for one (`frozen`):
// the device the grab froze is let go, the event swallowed or replayed.
void AnswerCapturedInput(const OverlayAction& action, bool swallow);

// The engine's own XTest key and button events. A press of a grabbed key
// would activate the passive grab like a real one; these keep it out.
void FakeOwnKey(Display* dpy, KeyCode code, bool press);
void FakeOwnButton(Display* dpy, unsigned xButton, bool press);

// Per-device events for the engine (OnDeviceInput) while on; called by the
// raw input registration.
void SetDeviceEventsWanted(Display* dpy, bool on);

}  // namespace velmor::platform::linux_backend
