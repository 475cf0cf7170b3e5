// Libraries loaded at run time, and guarded calls into them.
//
// A guarded call works with signals: handlers for the synchronous fault
// signals (SIGSEGV, SIGBUS, SIGILL, SIGFPE) are installed once, the first
// time a call is guarded. A thread in a guarded call has a jump buffer in
// thread-local storage; a fault the kernel raises on that thread jumps back
// to it with siglongjmp, which also restores the signal mask the signal
// handler ran with. A fault on any other thread, or one sent with kill(),
// goes on to the handler that was there before (or to the default action,
// which ends the process as if no handler had been installed).
//
// Limits: the faulting call is abandoned where it stood. Whatever it held
// stays held: a lock inside the library, memory it allocated, a half-updated
// data structure. The caller should treat the library's object as broken
// (free it if that is safe, otherwise drop it) and never call into the same
// object again. A fault inside the C library (malloc's lock, stdio) can
// leave the process unable to allocate. Stack overflows are not caught: the
// handler would need an alternate signal stack on every calling thread.

#include <dlfcn.h>
#include <setjmp.h>
#include <signal.h>

#include <mutex>

#include "engine/core/text.h"
#include "engine/platform/shared_library.h"

namespace velmor::platform {

namespace {

class DlLibrary final : public SharedLibrary {
 public:
  explicit DlLibrary(void* handle) : handle_(handle) {}
  ~DlLibrary() override { dlclose(handle_); }
  DlLibrary(const DlLibrary&) = delete;
  DlLibrary& operator=(const DlLibrary&) = delete;

  void* Symbol(const char* name) override { return name ? dlsym(handle_, name) : nullptr; }

 private:
  void* handle_;
};

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
constexpr int kSignalCount = sizeof(kFaultSignals) / sizeof(kFaultSignals[0]);

// The handlers that were installed before ours, in kFaultSignals order.
struct sigaction g_previous[kSignalCount];

// The jump buffer of this thread's innermost guarded call, or null. Plain
// (trivially initialised) thread-local storage of the executable, so the
// signal handler reads it without calling anything.
thread_local sigjmp_buf* volatile t_guard = nullptr;

int SignalIndex(int sig) {
  for (int i = 0; i < kSignalCount; ++i)
    if (kFaultSignals[i] == sig) return i;
  return -1;
}

void OnFault(int sig, siginfo_t* info, void* ucontext) {
  // Only a fault of the guarded thread's own instructions: si_code > 0
  // means the kernel raised it, not kill() or sigqueue().
  sigjmp_buf* guard = t_guard;
  if (guard && info && info->si_code > 0) siglongjmp(*guard, 1);

  const int i = SignalIndex(sig);
  if (i < 0) return;
  const struct sigaction& prev = g_previous[i];
  if (prev.sa_flags & SA_SIGINFO) {
    if (prev.sa_sigaction) {
      prev.sa_sigaction(sig, info, ucontext);
      return;
    }
  } else if (prev.sa_handler != SIG_DFL && prev.sa_handler != SIG_IGN && prev.sa_handler) {
    prev.sa_handler(sig);
    return;
  }
  // The default action (an ignored fault signal would only fault again):
  // put it back and let the signal take effect. A fault returns to the
  // faulting instruction, which raises it again; a sent one is raised anew.
  struct sigaction dfl = {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  sigaction(sig, &dfl, nullptr);
  if (!info || info->si_code <= 0) raise(sig);
}

void InstallHandlers() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction sa = {};
    sa.sa_sigaction = OnFault;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) sigaction(kFaultSignals[i], &sa, &g_previous[i]);
  });
}

}  // namespace

std::unique_ptr<SharedLibrary> LoadSharedLibrary(const std::u16string& path,
                                                 bool /*besideItself*/) {
  // The library's own RUNPATH ($ORIGIN) finds what it needs beside itself.
  if (path.empty()) return nullptr;
  const std::string name = WideToUtf8(path);
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  return std::make_unique<DlLibrary>(handle);
}

const char16_t* RecogniserLibraryName() {
  return u"libvosk.so";
}

bool CallGuarded(void (*fn)(void* context), void* context) {
  InstallHandlers();
  sigjmp_buf jump;
  sigjmp_buf* const outer = t_guard;
  if (sigsetjmp(jump, 1) != 0) {
    t_guard = outer;
    return false;
  }
  t_guard = &jump;
  fn(context);
  t_guard = outer;
  return true;
}

}  // namespace velmor::platform
