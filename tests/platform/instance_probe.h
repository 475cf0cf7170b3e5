#pragma once

// The single-instance test's stand-in for a starting Velmor
// (instance_probe.cpp): the same claim on every backend, and a wait for the
// show request written per backend, the way the program receives it.

namespace velmor::test {

// Prints one line and flushes it, for the test script to wait on.
void Say(const char* what);

// After a successful claim: says "first" once a request can be received,
// then waits up to 60 s and says "show request". 0 when one came.
int WaitForShowRequest();

}  // namespace velmor::test
