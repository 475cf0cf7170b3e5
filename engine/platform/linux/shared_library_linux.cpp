// Libraries loaded at run time, and guarded calls into them.

#include "engine/platform/shared_library.h"

namespace velmor::platform {

std::unique_ptr<SharedLibrary> LoadSharedLibrary(const std::u16string&, bool) {
  return nullptr;
}

const char16_t* RecogniserLibraryName() {
  return u"libvosk.so";
}

bool CallGuarded(void (*fn)(void*), void* context) {
  fn(context);
  return true;
}

}  // namespace velmor::platform
