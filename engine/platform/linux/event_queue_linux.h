#pragma once

// How a host with an event loop of its own (the Qt GUI) drives the engine's
// queue on X11: watch one descriptor, dispatch when it is readable.

namespace velmor::platform {

// Readable whenever something is due: a posted message, a timer, a request
// from another process. Timers included, so watching this descriptor alone
// is enough (a QSocketNotifier). -1 before StartEventQueue.
int EventQueueFd();

// GUI thread. Delivers everything due now (requests from other processes,
// the messages posted so far, then the timers that are due, earliest first)
// and returns without waiting. Messages posted while it runs make the
// descriptor readable again.
void DispatchEngineEvents();

// Milliseconds until the next timer is due: 0 when one is due now, -1 when
// no timer is set. For a loop that prefers a timeout to the descriptor.
int MsUntilNextTimer();

}  // namespace velmor::platform

namespace velmor::platform::linux_backend {

// For the backend's own descriptors (the game devices of the per-device
// stream): watched by the queue, so that a readable one makes the host
// dispatch. What they have is read by DispatchEngineEvents. No-ops before
// StartEventQueue.
void WatchDescriptor(int fd);
void UnwatchDescriptor(int fd);

}  // namespace velmor::platform::linux_backend
