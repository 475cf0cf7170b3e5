#pragma once

// The engine starts once per process, so every test of a binary shares one
// engine in one program folder; the first caller starts it.

#include "support/temp_dir.h"

namespace velmor::test {

const TempDir& SharedEngineDir();

}  // namespace velmor::test
