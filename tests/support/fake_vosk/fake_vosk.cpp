// A stand-in for the speech recogniser library with the same C functions,
// scripted by the file "fake_vosk.txt" in the model folder it is given:
//
//   unknown WORD          vosk_model_find_word says WORD is not in the model
//   result N JSON...      the N-th accepted block (from 1, over the model's
//                         life) completes an utterance whose result is JSON
//   fault FUNCTION [N]    the N-th call (default: every call) of
//                         recognizer_new_grm, set_grm or accept faults
//   fail recognizer_new   vosk_recognizer_new_grm returns null
//
// A model folder without the script is no model (null, as the real library
// answers for a missing or empty folder). Every call is appended to
// "fake_vosk.log" in the folder, one line each ("new_grm [...]",
// "set_grm [...]", "accept 3200", "set_words 1", "free_recognizer",
// "free_model"), so tests see what the engine asked.
//
// Built twice: as a real shared library (a fault is a real access
// violation) and into test programs (FAKE_VOSK_IN_PROCESS: a fault throws
// FakeVoskFault, which the fake platform's guard catches).

#include "tests/support/fake_vosk/fake_vosk.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Model {
  std::string dir;
  std::vector<std::string> unknown;
  std::map<int, std::string> results;
  std::map<std::string, int> faults;  // function -> call number (0: every call)
  std::map<std::string, int> calls;
  bool failRecognizer = false;
  int accepted = 0;
  std::string pending;
  std::mutex mutex;

  void Log(const std::string& line) {
    std::ofstream(dir + "/fake_vosk.log", std::ios::app | std::ios::binary) << line << "\n";
  }
  bool Faults(const std::string& fn) {
    const int n = ++calls[fn];
    auto it = faults.find(fn);
    return it != faults.end() && (it->second == 0 || it->second == n);
  }
};

struct Recognizer {
  Model* model;
};

int g_logLevel = 0;

[[noreturn]] void Fault() {
#ifdef FAKE_VOSK_IN_PROCESS
  throw FakeVoskFault{};
#else
  // A real fault, as a broken library would make one.
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
  std::abort();
#endif
}

}  // namespace

extern "C" {

FAKE_VOSK_API void vosk_set_log_level(int level) {
  g_logLevel = level;
}

FAKE_VOSK_API void* vosk_model_new(const char* path) {
  if (!path) return nullptr;
  std::ifstream script(std::string(path) + "/fake_vosk.txt", std::ios::binary);
  if (!script) return nullptr;
  auto* m = new Model;
  m->dir = path;
  std::string line;
  while (std::getline(script, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    if (verb == "unknown") {
      std::string w;
      in >> w;
      m->unknown.push_back(w);
    } else if (verb == "result") {
      int n = 0;
      in >> n;
      std::string rest;
      std::getline(in, rest);
      if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
      m->results[n] = rest;
    } else if (verb == "fault") {
      std::string fn;
      int n = 0;
      in >> fn >> n;
      m->faults[fn] = n;
    } else if (verb == "fail") {
      m->failRecognizer = true;
    }
  }
  m->Log("model_new log_level=" + std::to_string(g_logLevel));
  return m;
}

FAKE_VOSK_API void vosk_model_free(void* model) {
  auto* m = static_cast<Model*>(model);
  if (!m) return;
  m->Log("free_model");
  delete m;
}

FAKE_VOSK_API int vosk_model_find_word(void* model, const char* word) {
  auto* m = static_cast<Model*>(model);
  if (!m || !word) return -1;
  for (const auto& w : m->unknown)
    if (w == word) return -1;
  return 7;
}

FAKE_VOSK_API void* vosk_recognizer_new_grm(void* model, float rate, const char* grammar) {
  auto* m = static_cast<Model*>(model);
  if (!m) return nullptr;
  std::lock_guard lock(m->mutex);
  m->Log("new_grm " + std::to_string(static_cast<int>(rate)) + " " + (grammar ? grammar : ""));
  if (m->Faults("recognizer_new_grm")) Fault();
  if (m->failRecognizer) return nullptr;
  return new Recognizer{m};
}

FAKE_VOSK_API void vosk_recognizer_set_grm(void* recognizer, const char* grammar) {
  auto* r = static_cast<Recognizer*>(recognizer);
  if (!r) return;
  std::lock_guard lock(r->model->mutex);
  r->model->Log(std::string("set_grm ") + (grammar ? grammar : ""));
  if (r->model->Faults("set_grm")) Fault();
}

FAKE_VOSK_API void vosk_recognizer_set_words(void* recognizer, int words) {
  auto* r = static_cast<Recognizer*>(recognizer);
  if (!r) return;
  std::lock_guard lock(r->model->mutex);
  r->model->Log("set_words " + std::to_string(words));
}

FAKE_VOSK_API int vosk_recognizer_accept_waveform(void* recognizer, const char* data, int length) {
  auto* r = static_cast<Recognizer*>(recognizer);
  if (!r || !data || length < 0) return -1;
  std::lock_guard lock(r->model->mutex);
  Model& m = *r->model;
  m.Log("accept " + std::to_string(length));
  if (m.Faults("accept")) Fault();
  auto it = m.results.find(++m.accepted);
  if (it == m.results.end()) return 0;
  m.pending = it->second;
  return 1;
}

FAKE_VOSK_API const char* vosk_recognizer_result(void* recognizer) {
  auto* r = static_cast<Recognizer*>(recognizer);
  if (!r) return "";
  std::lock_guard lock(r->model->mutex);
  return r->model->pending.c_str();
}

FAKE_VOSK_API void vosk_recognizer_free(void* recognizer) {
  auto* r = static_cast<Recognizer*>(recognizer);
  if (!r) return;
  {
    std::lock_guard lock(r->model->mutex);
    r->model->Log("free_recognizer");
  }
  delete r;
}

}  // extern "C"
