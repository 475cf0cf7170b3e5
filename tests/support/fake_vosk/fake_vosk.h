#pragma once

// The fake recogniser's exports (see fake_vosk.cpp). In-process builds
// reach them directly; the shared build exports them by name.

#if defined(FAKE_VOSK_IN_PROCESS)
#define FAKE_VOSK_API
#elif defined(_WIN32)
#define FAKE_VOSK_API __declspec(dllexport)
#else
#define FAKE_VOSK_API __attribute__((visibility("default")))
#endif

// What a scripted fault throws in-process.
struct FakeVoskFault {};

extern "C" {
FAKE_VOSK_API void vosk_set_log_level(int level);
FAKE_VOSK_API void* vosk_model_new(const char* path);
FAKE_VOSK_API void vosk_model_free(void* model);
FAKE_VOSK_API int vosk_model_find_word(void* model, const char* word);
FAKE_VOSK_API void* vosk_recognizer_new_grm(void* model, float rate, const char* grammar);
FAKE_VOSK_API void vosk_recognizer_set_grm(void* recognizer, const char* grammar);
FAKE_VOSK_API void vosk_recognizer_set_words(void* recognizer, int words);
FAKE_VOSK_API int vosk_recognizer_accept_waveform(void* recognizer, const char* data, int length);
FAKE_VOSK_API const char* vosk_recognizer_result(void* recognizer);
FAKE_VOSK_API void vosk_recognizer_free(void* recognizer);
}
