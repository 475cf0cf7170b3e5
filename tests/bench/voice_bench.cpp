// Voice vocabulary costs: the phrase table and the grammar rebuilt for a
// full wheel list (24 wheels of 24 voiced fields) in each of the eleven
// languages, and the handling of one recognised result against that table.
//
//   velmor_bench --benchmark_filter=Voice --benchmark_repetitions=10

#include <benchmark/benchmark.h>

#include <string>

#include "engine/core/settings.h"
#include "engine/core/text.h"
#include "engine/voice/phrases.h"
#include "engine/voice/voice.h"

namespace {

const char16_t* const kLanguages[] = {u"pl", u"en", u"de",    u"es", u"fr", u"it",
                                      u"uk", u"ru", u"zh_CN", u"ko", u"ja"};

velmor::WheelList FullWheels() {
  velmor::WheelList wheels(24);
  for (int w = 0; w < 24; ++w) {
    wheels[static_cast<std::size_t>(w)].fields.resize(24);
    for (int f = 0; f < 24; ++f)
      wheels[static_cast<std::size_t>(w)].fields[static_cast<std::size_t>(f)].voice =
          velmor::Utf8ToWide("koło " + std::to_string(w) + " pole " + std::to_string(f) +
                             "|wheel " + std::to_string(w) + " field " + std::to_string(f));
  }
  return wheels;
}

void BM_VoicePhraseTableAndGrammar(benchmark::State& state) {
  const velmor::WheelList wheels = FullWheels();
  const char16_t* language = kLanguages[state.range(0)];
  auto lookup = [](const std::string& w) { return w.empty() ? -1 : 1; };
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto table = velmor::voice::BuildPhrases(language, wheels, {});
    const std::string grammar = velmor::voice::BuildGrammarText(table, lookup);
    bytes = grammar.size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetLabel(velmor::WideToUtf8(language) + ", grammar " + std::to_string(bytes) + " bytes");
}

void BM_VoiceHandleResult(benchmark::State& state) {
  velmor::EngineSettings settings;
  settings.voiceConfidence = 100;  // rejected: matched, rounded, not posted
  settings.voiceConfShow = false;
  velmor::voice::SetVoiceSettings(settings, {});
  velmor::voice::BuildPhraseTable(FullWheels());
  // The last field phrase: the match walks the whole table.
  const std::string hit =
      R"({"result":[{"conf":0.97,"word":"wheel"},{"conf":0.91,"word":"23"}],"text":"wheel 23 field 23"})";
  const std::string miss = R"({"text":"nothing like it"})";
  const std::string& json = state.range(0) ? hit : miss;
  for (auto _ : state) velmor::voice::HandleResult(json);
  state.SetLabel(std::string(state.range(0) ? "last phrase" : "no phrase") + ", " +
                 std::to_string(velmor::voice::PhraseCount()) + " phrases");
}

}  // namespace

BENCHMARK(BM_VoicePhraseTableAndGrammar)->DenseRange(0, 10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VoiceHandleResult)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
