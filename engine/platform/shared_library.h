#pragma once

// Libraries loaded at run time (the speech recogniser), and calls into them
// that may fault. Any thread.

#include <memory>
#include <string>

namespace velmor::platform {

class SharedLibrary {
 public:
  virtual ~SharedLibrary() = default;
  // The exported symbol, or null.
  virtual void* Symbol(const char* name) = 0;
};

// Loads a library by path. With `besideItself`, the library's own folder is
// searched first for the libraries it needs (Win32: LoadLibraryExW with
// LOAD_WITH_ALTERED_SEARCH_PATH; elsewhere the path is loaded as given and
// its own run path applies). A bare name ("libvosk.dll") is searched for in
// the system's normal order. Null when it cannot be loaded.
std::unique_ptr<SharedLibrary> LoadSharedLibrary(const std::u16string& path, bool besideItself);

// The file name of the recogniser library on this platform: "libvosk.dll"
// on Windows, "libvosk.so" elsewhere.
const char16_t* RecogniserLibraryName();

// Runs `fn(context)` and reports whether it returned normally. A hardware
// fault inside it (an access violation, an illegal instruction; on Win32
// any structured exception) is caught and reported as false; the call is
// abandoned where it faulted. For calls into foreign libraries only: no C++
// object of the caller may need unwinding inside `fn`.
bool CallGuarded(void (*fn)(void* context), void* context);

}  // namespace velmor::platform
