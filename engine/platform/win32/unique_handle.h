#pragma once

// Owners for Win32 handles: each closes its handle with the function that
// matches how it was made, moves, and never copies.

#include <windows.h>

#include <utility>

namespace velmor::platform::win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.h_, Handle{}));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return h_; }
  explicit operator bool() const { return Traits::Valid(h_); }
  Handle release() { return std::exchange(h_, Handle{}); }
  void reset(Handle h = Handle{}) {
    Handle old = std::exchange(h_, h);
    if (Traits::Valid(old)) Traits::Close(old);
  }

 private:
  Handle h_{};
};

struct WindowTraits {
  using Handle = HWND;
  static bool Valid(HWND h) { return h != nullptr; }
  static void Close(HWND h) { DestroyWindow(h); }
};

struct KernelTraits {
  using Handle = HANDLE;
  // CreateFile and friends report failure as INVALID_HANDLE_VALUE, most
  // others as null; neither is closed.
  static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};

struct HookTraits {
  using Handle = HHOOK;
  static bool Valid(HHOOK h) { return h != nullptr; }
  static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};

struct BitmapTraits {
  using Handle = HBITMAP;
  static bool Valid(HBITMAP h) { return h != nullptr; }
  static void Close(HBITMAP h) { DeleteObject(h); }
};

// A device context from CreateCompatibleDC, not one borrowed with GetDC.
struct MemoryDcTraits {
  using Handle = HDC;
  static bool Valid(HDC h) { return h != nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};

struct ModuleTraits {
  using Handle = HMODULE;
  static bool Valid(HMODULE h) { return h != nullptr; }
  static void Close(HMODULE h) { FreeLibrary(h); }
};

// A cursor made with CreateCursor; one handed to SetSystemCursor belongs to
// the system and is released from its owner first.
struct CursorTraits {
  using Handle = HCURSOR;
  static bool Valid(HCURSOR h) { return h != nullptr; }
  static void Close(HCURSOR h) { DestroyCursor(h); }
};

// A window is destroyed by the thread that created it; destroying it from
// another thread fails and leaves it in place.
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueHook = UniqueHandle<HookTraits>;
using UniqueBitmap = UniqueHandle<BitmapTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueCursor = UniqueHandle<CursorTraits>;

}  // namespace velmor::platform::win32
