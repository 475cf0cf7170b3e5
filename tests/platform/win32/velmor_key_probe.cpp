// velmor_key_probe: a stand-in for the program the user sends keys to. It
// shows a window, takes the foreground and writes every key message it gets
// as one line to a file, so an end-to-end test can compare what the engine
// synthesized with what a real window receives.
//
//   velmor_key_probe OUTFILE COUNT TIMEOUT_MS
//
// The first line is "ready" once the window has the foreground; then one line
// per key message, e.g. "down vk=41 sc=1E ext=0". Exits 0 after COUNT key
// lines, 1 when TIMEOUT_MS passed first, 2 on bad arguments or no foreground.

#include <cstdio>
#include <cstdlib>

#include "tests/platform/win32/test_window.h"

namespace {

const char* KindOf(UINT msg) {
  switch (msg) {
    case WM_KEYDOWN:
      return "down";
    case WM_KEYUP:
      return "up";
    // A stray Alt would turn keys into system keys: show it rather than hide it.
    case WM_SYSKEYDOWN:
      return "sysdown";
    case WM_SYSKEYUP:
      return "sysup";
    default:
      return nullptr;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: velmor_key_probe OUTFILE COUNT TIMEOUT_MS\n", stderr);
    return 2;
  }
  // Binary: lines end in a bare newline, as the shell reading them expects.
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 2;
  }
  const long count = std::strtol(argv[2], nullptr, 10);
  const auto timeoutMs = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));

  velmor::test::TestWindow window(200, 200, 320, 240);
  if (!window.TakeForeground()) {
    std::fputs("velmor_key_probe: could not take the foreground\n", stderr);
    std::fclose(out);
    return 2;
  }
  std::fputs("ready\n", out);
  std::fflush(out);

  std::size_t seen = 0;
  long written = 0;
  bool done = velmor::test::PumpUntil(
      [&] {
        const auto& messages = window.messages();
        for (; seen < messages.size(); ++seen) {
          const auto& m = messages[seen];
          const char* kind = KindOf(m.msg);
          if (!kind) continue;
          std::fprintf(out, "%s vk=%02X sc=%02X ext=%d\n", kind, static_cast<unsigned>(m.wParam),
                       static_cast<unsigned>((m.lParam >> 16) & 0xFF),
                       static_cast<int>((m.lParam >> 24) & 1));
          std::fflush(out);
          ++written;
        }
        return written >= count;
      },
      timeoutMs);
  std::fclose(out);
  return done ? 0 : 1;
}
