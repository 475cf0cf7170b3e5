#pragma once

// Run-time libraries and guarded calls, the same on every real backend:
// the scripted stand-in recogniser (whose scripted faults are real access
// violations), the real recogniser library when the build was given one,
// and files that are no library. The including test file defines
//   std::u16string HostPath(const std::string& path)
// turning a path of the build machine (CMake's paths) into one the
// backend loads.
//
// Compile definitions: VELMOR_FAKE_VOSK_PATH (the stand-in's shared
// library) and, when configured with it, VELMOR_VOSK_DIR (the unpacked
// recogniser libraries: linux-x86_64/, win-x86_64/).

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "engine/platform/shared_library.h"
#include "support/temp_dir.h"

namespace velmor::library_test {

std::u16string HostPath(const std::string& path);

// Runs a callable through CallGuarded.
template <typename F>
inline bool Guarded(F&& f) {
  using Fn = std::remove_reference_t<F>;
  return platform::CallGuarded([](void* c) { (*static_cast<Fn*>(c))(); }, &f);
}

inline std::string Utf8Path(const std::filesystem::path& p) {
  const auto u8 = p.u8string();
  return std::string(u8.begin(), u8.end());
}

// The recogniser's C functions, looked up by name.
struct VoskApi {
  void (*set_log_level)(int) = nullptr;
  void* (*model_new)(const char*) = nullptr;
  void (*model_free)(void*) = nullptr;
  int (*model_find_word)(void*, const char*) = nullptr;
  void* (*recognizer_new_grm)(void*, float, const char*) = nullptr;
  int (*recognizer_accept_waveform)(void*, const char*, int) = nullptr;

  explicit VoskApi(platform::SharedLibrary& lib) {
    Bind(lib, "vosk_set_log_level", set_log_level);
    Bind(lib, "vosk_model_new", model_new);
    Bind(lib, "vosk_model_free", model_free);
    Bind(lib, "vosk_model_find_word", model_find_word);
    Bind(lib, "vosk_recognizer_new_grm", recognizer_new_grm);
    Bind(lib, "vosk_recognizer_accept_waveform", recognizer_accept_waveform);
  }

 private:
  template <typename T>
  static void Bind(platform::SharedLibrary& lib, const char* name, T& fn) {
    fn = reinterpret_cast<T>(lib.Symbol(name));
  }
};

constexpr const char* kRecogniserFunctions[] = {
    "vosk_set_log_level",        "vosk_model_new",          "vosk_model_free",
    "vosk_recognizer_new_grm",   "vosk_recognizer_set_grm", "vosk_recognizer_accept_waveform",
    "vosk_recognizer_result",    "vosk_recognizer_free",    "vosk_model_find_word",
    "vosk_recognizer_set_words",
};

inline std::unique_ptr<platform::SharedLibrary> LoadFake() {
  return platform::LoadSharedLibrary(HostPath(VELMOR_FAKE_VOSK_PATH), true);
}

// A scripted model of the stand-in, in a folder of its own.
struct FakeModel {
  test::TempDir dir;
  void* model = nullptr;
  void* recognizer = nullptr;

  FakeModel(const VoskApi& api, const std::string& script) {
    dir.Write("fake_vosk.txt", script);
    const std::string path = Utf8Path(dir.path());
    EXPECT_TRUE(Guarded([&] { model = api.model_new(path.c_str()); }));
    EXPECT_NE(model, nullptr);
    EXPECT_TRUE(Guarded([&] { recognizer = api.recognizer_new_grm(model, 16000.0f, "[\"a\"]"); }));
    EXPECT_NE(recognizer, nullptr);
  }
};

// Where a fault left them: the stand-in's lock inside the recogniser is
// still held, so they are never called or freed again (and stay reachable
// for leak checkers).
inline void* g_abandoned[8];
inline int g_abandonedCount = 0;
inline void Abandon(void* p) {
  if (g_abandonedCount < 8) g_abandoned[g_abandonedCount++] = p;
}

inline int g_plainCalls = 0;

TEST(CallGuarded, PlainFunctionRunsAndReturnsTrue) {
  int seen = 0;
  EXPECT_TRUE(platform::CallGuarded([](void* c) { *static_cast<int*>(c) = 42; }, &seen));
  EXPECT_EQ(seen, 42);
  EXPECT_TRUE(platform::CallGuarded([](void*) { ++g_plainCalls; }, nullptr));
  EXPECT_EQ(g_plainCalls, 1);
}

// Libraries throw and catch their own C++ exceptions (the recogniser does,
// for a missing model): on Win32 those are structured exceptions too, and
// must reach the library's own handler.
TEST(CallGuarded, ExceptionCaughtInsideTheCallIsNoFault) {
  int caught = 0;
  EXPECT_TRUE(Guarded([&] {
    try {
      throw std::runtime_error("inside");
    } catch (const std::runtime_error&) {
      ++caught;
    }
  }));
  EXPECT_EQ(caught, 1);
}

TEST(SharedLibrary, WhatIsNoLibraryGivesNull) {
  test::TempDir dir;
  const auto text = dir.Write("notes.txt", "not a library\n");
  const auto empty = dir.Write("empty.so", "");
  const auto fakeHeader = dir.Write("truncated.dll", std::string("MZ\x90\0\x03\0\0\0", 8));
  const std::pair<const char*, std::u16string> cases[] = {
      {"missing file", (dir.path() / "missing" / "libvosk.so").u16string()},
      {"text file", text.u16string()},
      {"empty file", empty.u16string()},
      {"truncated executable header", fakeHeader.u16string()},
      {"folder", dir.path().u16string()},
      {"empty path", u""},
  };
  for (const auto& [what, path] : cases) {
    for (bool beside : {false, true}) {
      SCOPED_TRACE(testing::Message() << what << (beside ? ", beside itself" : ""));
      EXPECT_EQ(platform::LoadSharedLibrary(path, beside), nullptr);
    }
  }
}

TEST(FakeRecogniser, LoadsAndResolvesTheRecogniserFunctions) {
  auto lib = LoadFake();
  ASSERT_NE(lib, nullptr) << VELMOR_FAKE_VOSK_PATH;
  for (const char* name : kRecogniserFunctions) EXPECT_NE(lib->Symbol(name), nullptr) << name;
  EXPECT_EQ(lib->Symbol("vosk_no_such_function"), nullptr);
  EXPECT_EQ(lib->Symbol(""), nullptr);

  // Two loads share the library; each handle stays usable alone.
  auto second = LoadFake();
  ASSERT_NE(second, nullptr);
  void* first = lib->Symbol("vosk_model_new");
  lib.reset();
  EXPECT_EQ(second->Symbol("vosk_model_new"), first);
}

TEST(FakeRecogniser, FaultInsideACallIsAFailedCallAndTheProcessGoesOn) {
  auto lib = LoadFake();
  ASSERT_NE(lib, nullptr);
  const VoskApi api(*lib);
  ASSERT_TRUE(api.model_new && api.recognizer_accept_waveform && api.model_find_word);

  const std::string block(3200, '\0');
  // Twice, each time on a fresh model: the guard must be ready again after
  // a fault (the fault signal unblocked, the handler still in place).
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    FakeModel m(api, "fault accept\nunknown zebra\n");
    int accepted = 123;
    EXPECT_FALSE(Guarded(
        [&] { accepted = api.recognizer_accept_waveform(m.recognizer, block.data(), 3200); }));
    EXPECT_EQ(accepted, 123);
    EXPECT_NE(m.dir.Read("fake_vosk.log").find("accept 3200\n"), std::string::npos);

    // A healthy call afterwards, into the same library.
    int known = 0, unknown = 0;
    EXPECT_TRUE(Guarded([&] {
      known = api.model_find_word(m.model, "kliknij");
      unknown = api.model_find_word(m.model, "zebra");
    }));
    EXPECT_EQ(known, 7);
    EXPECT_EQ(unknown, -1);
    Abandon(m.recognizer);
    EXPECT_TRUE(Guarded([&] { api.model_free(m.model); }));
  }
}

TEST(FakeRecogniser, FaultInANestedGuardFailsOnlyTheInnerCall) {
  auto lib = LoadFake();
  ASSERT_NE(lib, nullptr);
  const VoskApi api(*lib);
  ASSERT_TRUE(api.model_new && api.recognizer_new_grm);

  test::TempDir dir;
  dir.Write("fake_vosk.txt", "fault recognizer_new_grm 2\n");
  const std::string path = Utf8Path(dir.path());
  void* model = nullptr;
  void* first = nullptr;
  void* second = reinterpret_cast<void*>(1);
  bool inner = true;
  int after = 0;
  const bool outer = Guarded([&] {
    model = api.model_new(path.c_str());
    first = api.recognizer_new_grm(model, 16000.0f, "[]");
    inner = Guarded([&] { second = api.recognizer_new_grm(model, 16000.0f, "[]"); });
    after = 1;
  });
  EXPECT_TRUE(outer);
  EXPECT_FALSE(inner);
  EXPECT_EQ(after, 1);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, reinterpret_cast<void*>(1));
  Abandon(first);
  Abandon(model);

  // And the guard is still armed for the next call.
  FakeModel m(api, "fault accept\n");
  EXPECT_FALSE(Guarded([&] { api.recognizer_accept_waveform(m.recognizer, "\0\0", 2); }));
  Abandon(m.recognizer);
  Abandon(m.model);
}

#ifdef VELMOR_VOSK_DIR
inline std::unique_ptr<platform::SharedLibrary> LoadRealRecogniser(const std::string& file) {
  return platform::LoadSharedLibrary(HostPath(std::string(VELMOR_VOSK_DIR) + "/" + file), true);
}
#endif

// The recogniser library the engine ships with: it loads, has the functions
// the engine looks up, and says "no model" for a folder without one.
inline void CheckRealRecogniser(const char* file) {
#ifndef VELMOR_VOSK_DIR
  (void)file;
  GTEST_SKIP() << "the build was configured without VELMOR_VOSK_DIR (scripts/fetch-vosk.sh)";
#else
  auto lib = LoadRealRecogniser(file);
  ASSERT_NE(lib, nullptr) << VELMOR_VOSK_DIR << "/" << file;

  std::string present, missing;
  for (const char* name : kRecogniserFunctions)
    (lib->Symbol(name) ? present : missing) += std::string(" ") + name;
  std::cout << "[ recogniser ] exports:" << present << "\n"
            << "[ recogniser ] lacks:" << (missing.empty() ? " nothing" : missing) << "\n";
  // The prebuilt package has every function the engine needs but
  // vosk_recognizer_set_grm, which came later; without it the engine
  // reports the library as incomplete.
  for (const char* name : kRecogniserFunctions) {
    if (std::string(name) == "vosk_recognizer_set_grm") continue;
    EXPECT_NE(lib->Symbol(name), nullptr) << name;
  }
  EXPECT_EQ(lib->Symbol("vosk_no_such_function"), nullptr);

  const VoskApi api(*lib);
  ASSERT_TRUE(api.set_log_level && api.model_new && api.model_free);
  EXPECT_TRUE(Guarded([&] { api.set_log_level(-1); }));

  test::TempDir dir;
  std::filesystem::create_directory(dir.path() / "empty model");
  const std::pair<const char*, std::string> folders[] = {
      {"missing folder", Utf8Path(dir.path() / "no such model")},
      {"empty folder", Utf8Path(dir.path() / "empty model")},
  };
  for (const auto& folder : folders) {
    SCOPED_TRACE(folder.first);
    const std::string& path = folder.second;
    void* model = reinterpret_cast<void*>(1);
    EXPECT_TRUE(Guarded([&] { model = api.model_new(path.c_str()); }));
    EXPECT_EQ(model, nullptr);
    if (model && model != reinterpret_cast<void*>(1)) api.model_free(model);
  }
#endif
}

}  // namespace velmor::library_test
