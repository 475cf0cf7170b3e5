// Run-time libraries and guarded calls on Linux: dlopen, and faults caught
// through signal handlers.

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "tests/platform/library_test_cases.h"

namespace velmor::library_test {

std::u16string HostPath(const std::string& path) {
  return std::filesystem::path(path).u16string();
}

namespace {

TEST(RealRecogniser, LoadsResolvesAndRefusesAMissingModel) {
  CheckRealRecogniser("linux-x86_64/libvosk.so");
}

// What was installed before the guard: it must still see faults that no
// guarded call raised.
void EarlierHandler(int, siginfo_t*, void*) {
  static const char kMessage[] = "fault reached the earlier handler\n";
  (void)!write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  _exit(3);
}

TEST(CallGuardedDeathTest, FaultOfAnotherThreadGoesToTheEarlierHandler) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        alarm(20);  // A fault taken for the other thread's would hang here.
        struct sigaction sa = {};
        sa.sa_sigaction = EarlierHandler;
        sa.sa_flags = SA_SIGINFO;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGSEGV, &sa, nullptr);

        auto lib = LoadFake();
        if (!lib) _exit(10);
        const VoskApi api(*lib);
        void* recognizer = nullptr;
        {
          // The model has read its script; its folder can go before the
          // process ends without cleaning up.
          FakeModel m(api, "fault accept\n");
          recognizer = m.recognizer;
        }

        // One thread sits in a guarded call while this one faults outside
        // any.
        std::atomic<bool> inside{false};
        std::thread guarded([&] {
          Guarded([&] {
            inside = true;
            for (;;) pause();
          });
        });
        while (!inside) std::this_thread::yield();
        api.recognizer_accept_waveform(recognizer, "\0\0", 2);
        _exit(0);
      },
      testing::ExitedWithCode(3), "fault reached the earlier handler");
}

}  // namespace
}  // namespace velmor::library_test
