// Libraries loaded at run time, and guarded calls into them.
//
// GCC has no __try/__except, so a guarded call catches structured
// exceptions with a vectored exception handler, installed once, the first
// time a call is guarded:
//
// - CallGuarded keeps a frame on its own stack with a jump buffer
//   (_setjmp with a null frame: the longjmp back restores the registers,
//   the floating-point control words and the stack pointer, and unwinds
//   nothing) and publishes it in a thread-local slot (TlsAlloc: reading it
//   calls nothing that allocates or locks).
// - The handler sees every exception of the process first. It acts only on
//   hardware faults (access violations, illegal or privileged instructions,
//   integer and floating-point traps, misalignment, page errors, stack
//   overflow) raised on a thread whose slot holds a frame. Everything else
//   (C++ exceptions, debug output, faults of other threads) goes on to the
//   next handler untouched.
// - It does not jump from inside the exception dispatcher. It rewrites the
//   faulting context instead: the instruction pointer to a landing
//   function, the stack pointer into the abandoned frame of the function
//   that made the call (stack the thread was already using, below every
//   live frame of CallGuarded), the first argument register to the frame;
//   and it resumes the thread with EXCEPTION_CONTINUE_EXECUTION. The
//   dispatcher finishes normally, and the landing function longjmps back
//   into CallGuarded, which returns false.
//
// Limits: the faulting call is abandoned where it stood, without unwinding:
// a lock inside the library stays held, its memory stays allocated. The
// caller should treat the library's object as broken and not call into it
// again. Because the vectored handler runs before any frame-based one, a
// fault the library would have caught itself (its own __except) is taken
// as a failed call. After a stack overflow the thread's guard page is gone
// until it is re-armed (_resetstkoflw), so a second overflow ends the
// process.

#include "engine/platform/shared_library.h"

#include <windows.h>

#include <setjmp.h>
#include <mutex>

namespace velmor::platform {

namespace {

class Win32Library final : public SharedLibrary {
 public:
  explicit Win32Library(HMODULE module) : module_(module) {}
  ~Win32Library() override { FreeLibrary(module_); }
  Win32Library(const Win32Library&) = delete;
  Win32Library& operator=(const Win32Library&) = delete;

  void* Symbol(const char* name) override {
    if (!name) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(module_, name));
  }

 private:
  HMODULE module_;
};

struct GuardFrame {
  jmp_buf jump;
  DWORD64 landingStack = 0;
};

DWORD g_tlsSlot = TLS_OUT_OF_INDEXES;

bool IsHardwareFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_STACK_OVERFLOW:
      return true;
    default:
      return false;
  }
}

[[noreturn]] void LandAfterFault(GuardFrame* frame) {
  longjmp(frame->jump, 1);
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
  if (!info || !info->ExceptionRecord || !info->ContextRecord) return EXCEPTION_CONTINUE_SEARCH;
  if (!IsHardwareFault(info->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
  // TlsGetValue clears the last error; the faulting code may read it.
  const DWORD lastError = GetLastError();
  auto* frame = static_cast<GuardFrame*>(TlsGetValue(g_tlsSlot));
  if (frame) TlsSetValue(g_tlsSlot, nullptr);  // A fault while landing is not caught again.
  SetLastError(lastError);
  if (!frame) return EXCEPTION_CONTINUE_SEARCH;

  CONTEXT* context = info->ContextRecord;
  // As if called: 16-byte aligned before the return address slot, with
  // room above for the callee's home area.
  context->Rsp = ((frame->landingStack - 64) & ~static_cast<DWORD64>(15)) - 8;
  context->Rip = reinterpret_cast<DWORD64>(&LandAfterFault);
  context->Rcx = reinterpret_cast<DWORD64>(frame);
  return EXCEPTION_CONTINUE_EXECUTION;
}

// Calls fn with the frame published. Its own stack frame, dead once the
// call faulted and certainly committed (fn ran below it), is where the
// landing function runs: the faulting stack pointer may be anywhere after
// a stack overflow or a wrecked stack.
__attribute__((noinline)) void InvokeGuarded(GuardFrame* frame, void (*fn)(void*), void* context) {
  volatile char marker = 0;
  frame->landingStack = reinterpret_cast<DWORD64>(&marker);
  TlsSetValue(g_tlsSlot, frame);
  fn(context);
  marker = 1;  // Keeps the frame, and the call out of tail position.
}

bool InstallHandler() {
  static std::once_flag once;
  static bool installed = false;
  std::call_once(once, [] {
    g_tlsSlot = TlsAlloc();
    if (g_tlsSlot == TLS_OUT_OF_INDEXES) return;
    installed = AddVectoredExceptionHandler(1, OnException) != nullptr;
  });
  return installed;
}

}  // namespace

std::unique_ptr<SharedLibrary> LoadSharedLibrary(const std::u16string& path, bool besideItself) {
  if (path.empty()) return nullptr;
  const auto* wide = reinterpret_cast<const wchar_t*>(path.c_str());
  // No "cannot load" message boxes from the system.
  DWORD oldMode = 0;
  const bool quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  HMODULE module = besideItself ? LoadLibraryExW(wide, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                                : LoadLibraryW(wide);
  if (quiet) SetThreadErrorMode(oldMode, nullptr);
  if (!module) return nullptr;
  return std::make_unique<Win32Library>(module);
}

const char16_t* RecogniserLibraryName() {
  return u"libvosk.dll";
}

bool CallGuarded(void (*fn)(void* context), void* context) {
  if (!InstallHandler()) {
    fn(context);
    return true;
  }
  GuardFrame frame;
  void* const outer = TlsGetValue(g_tlsSlot);
  // A null frame: longjmp restores the registers without unwinding.
  if (_setjmp(frame.jump, nullptr) != 0) {
    TlsSetValue(g_tlsSlot, outer);
    return false;
  }
  InvokeGuarded(&frame, fn, context);
  TlsSetValue(g_tlsSlot, outer);
  return true;
}

}  // namespace velmor::platform
