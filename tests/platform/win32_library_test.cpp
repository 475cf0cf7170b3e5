// Run-time libraries and guarded calls on Win32: LoadLibraryExW beside the
// library itself, and structured exceptions caught by a vectored handler.

#include <windows.h>

#include <atomic>

#include "tests/platform/library_test_cases.h"

namespace velmor::library_test {

// CMake's paths are the build machine's; Wine's drive Z: is its root.
std::u16string HostPath(const std::string& path) {
  std::u16string out = u"Z:";
  for (char16_t c : std::filesystem::path(path).u16string()) out += c == u'/' ? u'\\' : c;
  return out;
}

namespace {

TEST(RealRecogniser, LoadsResolvesAndRefusesAMissingModel) {
  CheckRealRecogniser("win-x86_64/libvosk.dll");
}

// A vectored handler added last: it sees the faults the guard passes on.
// It ends the faulting thread, which is the fault's only victim.
std::atomic<DWORD> g_faultingThread{0};
std::atomic<bool> g_reachedLaterHandler{false};

[[noreturn]] void EndThisThread() {
  ExitThread(0xFA);
}

LONG CALLBACK LaterHandler(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
    return EXCEPTION_CONTINUE_SEARCH;
  if (GetCurrentThreadId() != g_faultingThread) return EXCEPTION_CONTINUE_SEARCH;
  g_reachedLaterHandler = true;
  info->ContextRecord->Rsp = (info->ContextRecord->Rsp & ~static_cast<DWORD64>(15)) - 8 - 256;
  info->ContextRecord->Rip = reinterpret_cast<DWORD64>(&EndThisThread);
  return EXCEPTION_CONTINUE_EXECUTION;
}

struct Faulter {
  const VoskApi* api;
  void* recognizer;
};

DWORD WINAPI FaultUnguarded(void* param) {
  auto* f = static_cast<Faulter*>(param);
  g_faultingThread = GetCurrentThreadId();
  f->api->recognizer_accept_waveform(f->recognizer, "\0\0", 2);
  return 0;
}

TEST(CallGuarded, FaultOfAnotherThreadGoesToTheNextHandler) {
  auto lib = LoadFake();
  ASSERT_NE(lib, nullptr);
  const VoskApi api(*lib);
  FakeModel m(api, "fault accept\n");
  void* later = AddVectoredExceptionHandler(0, LaterHandler);
  ASSERT_NE(later, nullptr);

  // This thread sits in a guarded call while another one faults outside
  // any.
  Faulter f{&api, m.recognizer};
  DWORD code = 0;
  EXPECT_TRUE(Guarded([&] {
    HANDLE thread = CreateThread(nullptr, 0, FaultUnguarded, &f, 0, nullptr);
    if (!thread) return;
    WaitForSingleObject(thread, 30000);
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
  }));
  RemoveVectoredExceptionHandler(later);
  EXPECT_TRUE(g_reachedLaterHandler);
  EXPECT_EQ(code, 0xFAu);
  Abandon(m.recognizer);
  Abandon(m.model);
}

}  // namespace
}  // namespace velmor::library_test
