// The phrase table and the grammar text, built without an engine.

#include "engine/voice/phrases.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/text.h"
#include "support/temp_dir.h"

namespace velmor::voice {
namespace {

const Phrase* Find(const PhraseTable& t, const std::string& text) {
  for (const auto& p : t)
    if (p.text == text) return &p;
  return nullptr;
}

int CommandOf(const PhraseTable& t, const std::string& text) {
  const Phrase* p = Find(t, text);
  return p ? p->command : -1;
}

TEST(VoicePhrases, NumbersInEveryCompositionMode) {
  struct Case {
    const char16_t* language;
    int n;
    const char* word;
  };
  const Case cases[] = {
      {u"pl", 21, "dwadzieścia jeden"},
      {u"pl", 47, "czterdzieści siedem"},
      {u"pl", 40, "czterdzieści"},
      {u"pl", 99, "dziewięćdziesiąt dziewięć"},
      {u"en", 71, "seventy one"},
      {u"en", 12, "twelve"},
      {u"de", 21, "einsundzwanzig"},
      {u"de", 47, "siebenundvierzig"},
      {u"de", 99, "neunundneunzig"},
      {u"de", 30, "dreißig"},
      {u"es", 21, "veinte y uno"},
      {u"es", 47, "cuarenta y siete"},
      {u"es", 16, "dieciséis"},
      {u"fr", 71, "soixante-dix un"},
      {u"fr", 80, "quatre-vingts"},
      {u"fr", 99, "quatre-vingt-dix neuf"},
      {u"it", 21, "venti uno"},
      {u"uk", 59, "п'ятдесят дев'ять"},
      {u"ru", 47, "сорок семь"},
      {u"zh_CN", 21, "二十一"},
      {u"ja", 47, "四十七"},
      {u"ja", 10, "十"},
      {u"ko", 99, "구십구"},
      {u"ko", 71, "칠십일"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.language) + " " + std::to_string(c.n));
    EXPECT_EQ(WideToUtf8(NumberWord(c.language, c.n)), c.word);
  }
}

TEST(VoicePhrases, BuiltInsComeInOrderWithAlternativesAndClickVariants) {
  const PhraseTable pl = BuildPhrases(u"pl", {}, {});
  ASSERT_GE(pl.size(), 25u);
  // Ids 1..6, then 10, 12 (two phrases), 11 (two), 7, 8, 9 ...
  const char* head[] = {
      "pokaż koło",      "schowaj koło",   "następne koło",    "poprzednie koło",
      "pokaż siatkę",    "schowaj siatkę", "pokaż elementy",   "pokaż elementy strony",
      "elementy strony", "ukryj elementy", "schowaj elementy", "kliknij",
      "dwuklik",         "prawy klik",     "klawiatura",       "pokaż klawiaturę"};
  for (std::size_t i = 0; i < std::size(head); ++i) EXPECT_EQ(pl[i].text, head[i]) << i;
  EXPECT_EQ(CommandOf(pl, "elementy strony"), 12);
  EXPECT_EQ(CommandOf(pl, "zakończ rozmowę"), 19);
  EXPECT_EQ(CommandOf(pl, "dwadzieścia jeden"), 121);
  EXPECT_EQ(CommandOf(pl, "kliknij dwa razy na czterdzieści siedem"), 347);
  EXPECT_EQ(CommandOf(pl, "kliknij prawy na dziewięćdziesiąt dziewięć"), 599);
  // 28 built-in phrases and three per number.
  EXPECT_EQ(pl.size(), 28u + 3u * 99u);

  const PhraseTable en = BuildPhrases(u"en", {}, {});
  EXPECT_EQ(en[7].text, "show page elements");
  EXPECT_EQ(en[8].text, "page elements");
  EXPECT_EQ(CommandOf(en, "release all keys"), 16);
  EXPECT_EQ(CommandOf(en, "double click on seventy one"), 371);

  const PhraseTable ja = BuildPhrases(u"ja", {}, {});
  EXPECT_EQ(ja.size(), 19u + 3u * 99u);
  EXPECT_EQ(CommandOf(ja, "ダブルクリック 四十七"), 347);
  EXPECT_EQ(CommandOf(ja, "電話を切る"), 19);
  EXPECT_EQ(CommandOf(BuildPhrases(u"de", {}, {}), "rechtsklick auf einsundzwanzig"), 521);
}

TEST(VoicePhrases, FieldVoiceTextsAndGlobalActions) {
  WheelList wheels(2);
  wheels[0].fields.resize(2);
  wheels[0].fields[1].voice = u"Start|  GO Now |";
  wheels[1].fields.resize(1);
  wheels[1].fields[0].voice = u"Skok";
  std::vector<WheelAction> global(2);
  global[0].voice = u"skok";  // also a field phrase: the field comes first
  global[1].voice = u"schemat Race";
  const PhraseTable t = BuildPhrases(u"en", wheels, global);
  const Phrase* start = Find(t, "start");
  ASSERT_TRUE(start);
  EXPECT_EQ(start->wheel, 0);
  EXPECT_EQ(start->field, 1);
  ASSERT_TRUE(Find(t, "go now"));
  EXPECT_EQ(Find(t, "skok")->wheel, 1);
  EXPECT_EQ(Find(t, "schemat race")->wheel, kWheelGlobalAction);
  EXPECT_EQ(Find(t, "schemat race")->field, 1);
  EXPECT_EQ(t.size(), 26u + 3u * 99u + 5u);
}

TEST(VoicePhrases, GrammarEscapesAndDropsUnknownWords) {
  PhraseTable t = {{"say \"hi\"", 0, 0, 0}, {"back\\slash", 0, 0, 1}, {"zzz word", 0, 0, 2}};
  EXPECT_EQ(BuildGrammarText(t, {}), R"(["say \"hi\"","back\\slash","zzz word","[unk]"])");
  auto lookup = [](const std::string& w) { return w == "zzz" ? -1 : 3; };
  EXPECT_EQ(BuildGrammarText(t, lookup), R"(["say \"hi\"","back\\slash","[unk]"])");
  EXPECT_EQ(BuildGrammarText({}, lookup), R"(["[unk]"])");
}

TEST(VoicePhrases, LanguageAndModelFolder) {
  test::TempDir dir;
  EXPECT_EQ(ResolveVoiceLanguage(u"de", dir.path()), u"en");  // no German model here
  EXPECT_EQ(ResolveVoiceLanguage(u"xx", dir.path()), u"en");
  std::filesystem::create_directories(dir / "vosk-model-small-de-0.15");
  EXPECT_EQ(ResolveVoiceLanguage(u"de", dir.path()), u"de");
  dir.Write("vosk-model-small-pl-0.22", "a file, not a folder");
  EXPECT_EQ(ResolveVoiceLanguage(u"pl", dir.path()), u"en");

  EXPECT_EQ(ModelFolderName(u"vosk-model-small-pl-0.22", u"de"), u"vosk-model-small-de-0.15");
  EXPECT_EQ(ModelFolderName(u"vosk-model-small-pl-0.22", u"xx"), u"vosk-model-small-en-us-0.15");
  EXPECT_EQ(ModelFolderName(u"my-model", u"de"), u"my-model");
}

TEST(VoicePhrases, GlobalActionsFromVoiceJsonAndSchemes) {
  test::TempDir dir;
  auto none = GlobalVoiceActions(dir.path(), {u"Race"});
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0].voice, u"schemat Race");
  ASSERT_EQ(none[0].steps.size(), 1u);
  EXPECT_EQ(none[0].steps[0].kind, StepKind::Profile);
  EXPECT_EQ(none[0].steps[0].text, u"Race");

  dir.Write("voice.json", R"({"actions":[{"name":"a","voice":"Otwórz","steps":[{"key":"a"}]},
                                         {"name":"quiet","steps":[{"key":"b"}]}]})");
  auto both = GlobalVoiceActions(dir.path(), {u"x"});
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].voice, u"Otwórz");
  const PhraseTable t = BuildPhrases(u"en", {}, both);
  ASSERT_TRUE(Find(t, "otwórz"));
  EXPECT_EQ(Find(t, "otwórz")->wheel, kWheelGlobalAction);
}

}  // namespace
}  // namespace velmor::voice
