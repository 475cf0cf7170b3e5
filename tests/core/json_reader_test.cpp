// Tests of the engine's JSON reader: syntax, numbers, strings, object lookup
// and the file decoding every loader shares.

#include "engine/core/json_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/text.h"
#include "support/temp_dir.h"

namespace velmor {
namespace {

using Kind = JsonValue::Kind;

struct SyntaxCase {
  std::u16string text;
  bool ok;
  Kind kind;  // only checked when ok
};

TEST(JsonReaderTest, DocumentSyntax) {
  const std::vector<SyntaxCase> cases = {
      {u"{}", true, Kind::Object},
      {u"[]", true, Kind::Array},
      {u"{ }", true, Kind::Object},
      {u"[\t\r\n]", true, Kind::Array},
      {u"true", true, Kind::Bool},
      {u"false", true, Kind::Bool},
      {u"null", true, Kind::Null},
      {u"\"\"", true, Kind::String},
      {u" \t\r\n{\"a\" : [ 1 , {} , [] ] }\r\n ", true, Kind::Object},
      {u"[[[]],{}]", true, Kind::Array},

      // Trailing commas and missing elements.
      {u"[1,]", false, Kind::Null},
      {u"{\"a\":1,}", false, Kind::Null},
      {u"[,]", false, Kind::Null},
      {u"{,}", false, Kind::Null},
      {u"[1,,2]", false, Kind::Null},
      {u"[1 2]", false, Kind::Null},
      {u"{\"a\":1 \"b\":2}", false, Kind::Null},
      // Members need a quoted name, a colon and a value.
      {u"{a:1}", false, Kind::Null},
      {u"{'a':1}", false, Kind::Null},
      {u"{\"a\" 1}", false, Kind::Null},
      {u"{\"a\":}", false, Kind::Null},
      {u"{\"a\"}", false, Kind::Null},
      {u"{1:2}", false, Kind::Null},
      // Unclosed containers.
      {u"[", false, Kind::Null},
      {u"{", false, Kind::Null},
      {u"[1", false, Kind::Null},
      {u"{\"a\":1", false, Kind::Null},
      {u"[}", false, Kind::Null},
      {u"{]", false, Kind::Null},
      // Literal words are exact.
      {u"tru", false, Kind::Null},
      {u"nul", false, Kind::Null},
      {u"fals", false, Kind::Null},
      {u"True", false, Kind::Null},
      {u"NULL", false, Kind::Null},
      {u"nullx", false, Kind::Null},
      // No comments of either form.
      {u"// note\n{}", false, Kind::Null},
      {u"/* note */ {}", false, Kind::Null},
      {u"{} // note", false, Kind::Null},
      {u"{\"a\": /* x */ 1}", false, Kind::Null},
      // Nothing but whitespace may follow the value.
      {u"{} x", false, Kind::Null},
      {u"{}}", false, Kind::Null},
      {u"{}{}", false, Kind::Null},
      {u"[] []", false, Kind::Null},
      // Nothing at all.
      {u"", false, Kind::Null},
      {u" \r\n\t", false, Kind::Null},
      // Only four whitespace characters exist: a form feed, vertical tab,
      // no-break space or BOM is not skipped.
      {u"\f{}", false, Kind::Null},
      {u"\v{}", false, Kind::Null},
      {u"\u00A0{}", false, Kind::Null},
      {u"{}\u00A0", false, Kind::Null},
      {u"\uFEFF{}", false, Kind::Null},
      {u"[1,\f2]", false, Kind::Null},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.text));
    JsonValue v;
    const bool ok = ParseJsonDocument(c.text, v);
    EXPECT_EQ(ok, c.ok);
    if (ok && c.ok) {
      EXPECT_EQ(v.kind, c.kind);
    }
  }
}

TEST(JsonReaderTest, EmptyContainersHaveNoChildren) {
  JsonValue obj;
  ASSERT_TRUE(ParseJsonDocument(u"{}", obj));
  EXPECT_TRUE(obj.IsObject());
  EXPECT_TRUE(obj.members.empty());

  JsonValue arr;
  ASSERT_TRUE(ParseJsonDocument(u"[]", arr));
  EXPECT_TRUE(arr.IsArray());
  EXPECT_TRUE(arr.array.empty());
}

TEST(JsonReaderTest, BooleansCarryTheirValue) {
  JsonValue v;
  ASSERT_TRUE(ParseJsonDocument(u"[true,false]", v));
  ASSERT_EQ(v.array.size(), 2u);
  EXPECT_TRUE(v.array[0].IsBool());
  EXPECT_TRUE(v.array[0].boolean);
  EXPECT_TRUE(v.array[1].IsBool());
  EXPECT_FALSE(v.array[1].boolean);
}

struct NumberCase {
  std::u16string text;
  double value;
};

TEST(JsonReaderTest, NumbersAreLiberal) {
  const std::vector<NumberCase> cases = {
      {u"0", 0.0},     {u"42", 42.0},     {u"-12", -12.0}, {u"+5", 5.0},
      {u"-", 0.0},  // a lone sign reads as zero
      {u"+", 0.0},     {u"1e3", 1000.0},  {u"1E-2", 0.01}, {u"2.5e+1", 25.0},
      {u"12.9", 12.9}, {u"-0.25", -0.25}, {u"007", 7.0},   {u".5", 0.5},
      {u"5.", 5.0},    {u"1.2.3", 1.2},  // conversion stops at the second point
      {u"5-", 5.0},    {u"1e", 1.0},      {u"3e-", 3.0},   {u"90000", 90000.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.text));
    JsonValue v;
    ASSERT_TRUE(ParseJsonDocument(c.text, v));
    ASSERT_TRUE(v.IsNumber());
    EXPECT_DOUBLE_EQ(v.number, c.value);
  }
}

TEST(JsonReaderTest, NumbersEndAtDelimiters) {
  JsonValue v;
  ASSERT_TRUE(ParseJsonDocument(u"[1,-2,+3,-,4e1]", v));
  ASSERT_EQ(v.array.size(), 5u);
  const double expected[] = {1, -2, 3, 0, 40};
  for (std::size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(v.array[i].IsNumber());
    EXPECT_DOUBLE_EQ(v.array[i].number, expected[i]);
  }

  JsonValue o;
  ASSERT_TRUE(ParseJsonDocument(u"{\"a\":-7}", o));
  ASSERT_NE(o.Find(u"a"), nullptr);
  EXPECT_DOUBLE_EQ(o.Find(u"a")->number, -7.0);
}

TEST(JsonReaderTest, TextThatIsNoNumberFails) {
  // Anything that consumes no sign and no number character fails, and what a
  // number run leaves behind is trailing text.
  const std::vector<std::u16string> cases = {
      u"x",   u"/",        u"]",    u"}",    u":",   u",",      u"inf",
      u"nan", u"Infinity", u"[1x]", u"0x10", u"1 2", u"[-inf]", u"'a'",
  };
  for (const auto& text : cases) {
    SCOPED_TRACE(WideToUtf8(text));
    JsonValue v;
    EXPECT_FALSE(ParseJsonDocument(text, v));
  }
}

TEST(JsonReaderTest, NumberConversionSeesOnlyItsRun) {
  // The run is "0"; the text after it must not feed the conversion (a
  // hexadecimal or infinity reading of the rest would be wrong).
  JsonReader hex{u"0x10"};
  JsonValue v;
  ASSERT_TRUE(ParseJsonValue(hex, v));
  ASSERT_TRUE(v.IsNumber());
  EXPECT_DOUBLE_EQ(v.number, 0.0);
  EXPECT_EQ(hex.pos, 1u);

  JsonReader inf{u"-inf"};
  JsonValue w;
  ASSERT_TRUE(ParseJsonValue(inf, w));
  ASSERT_TRUE(w.IsNumber());
  EXPECT_DOUBLE_EQ(w.number, 0.0);
  EXPECT_EQ(inf.pos, 1u);
}

struct StringCase {
  std::u16string text;
  std::u16string value;
};

TEST(JsonReaderTest, StringEscapes) {
  const std::vector<StringCase> cases = {
      {u"\"abc\"", u"abc"},
      {u"\"\"", u""},
      {u"\"\\u0041\"", u"A"},
      {u"\"\\u00e9\\u00E9\"", u"\u00E9\u00E9"},  // hex digits in either case
      {u"\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"", u"\"\\/\b\f\n\r\t"},
      {u"\"a\\u0000b\"", std::u16string(u"a\0b", 3)},
      // Surrogates are stored unit by unit, paired or not.
      {u"\"\\ud83d\\ude00\"", u"\U0001F600"},
      {u"\"\\uD800x\"", std::u16string{char16_t{0xD800}, u'x'}},
      // Text outside the ASCII range and raw control characters pass as they are.
      {u"\"zażółć gęślą jaźń\"", u"zażółć gęślą jaźń"},
      {u"\"a\nb\tc\x01\"", u"a\nb\tc\x01"},
      {u"\"}],:{[\"", u"}],:{["},
      {u"\"/* not a comment */\"", u"/* not a comment */"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.text));
    JsonValue v;
    ASSERT_TRUE(ParseJsonDocument(c.text, v));
    ASSERT_TRUE(v.IsString());
    EXPECT_EQ(v.string, c.value);
  }
}

TEST(JsonReaderTest, BadStringsFail) {
  const std::vector<std::u16string> cases = {
      u"\"\\x\"",      // unknown escape
      u"\"\\a\"",      //
      u"\"\\'\"",      //
      u"\"\\U0041\"",  // the escape letter is lower-case only
      u"\"abc",        // no closing quote
      u"\"",           //
      u"\"\\\"",       // the only quote is escaped
      u"\"\\",         // backslash at the end of the text
      u"\"\\u12",      // fewer than four characters after \u
      u"\"\\u",        //
      u"[\"a]",        //
  };
  for (const auto& text : cases) {
    SCOPED_TRACE(WideToUtf8(text));
    JsonValue v;
    EXPECT_FALSE(ParseJsonDocument(text, v));
  }
}

TEST(JsonReaderTest, ObjectKeepsEveryMemberInFileOrder) {
  JsonValue v;
  ASSERT_TRUE(ParseJsonDocument(u"{\"b\":1,\"a\":2,\"b\":3,\"\":4}", v));
  ASSERT_TRUE(v.IsObject());
  ASSERT_EQ(v.members.size(), 4u);
  EXPECT_EQ(v.members[0].name, u"b");
  EXPECT_EQ(v.members[1].name, u"a");
  EXPECT_EQ(v.members[2].name, u"b");
  EXPECT_EQ(v.members[3].name, u"");
  EXPECT_DOUBLE_EQ(v.members[2].value.number, 3.0);

  // Lookup sees the first of duplicate names only.
  ASSERT_NE(v.Find(u"b"), nullptr);
  EXPECT_DOUBLE_EQ(v.Find(u"b")->number, 1.0);
  ASSERT_NE(v.Find(u""), nullptr);
  EXPECT_DOUBLE_EQ(v.Find(u"")->number, 4.0);
}

TEST(JsonReaderTest, FindMatchesWholeNameCaseSensitively) {
  JsonValue v;
  ASSERT_TRUE(ParseJsonDocument(u"{\"sendDelay\":1,\"ab\":2,\"a\\u0062c\":3}", v));
  EXPECT_NE(v.Find(u"sendDelay"), nullptr);
  EXPECT_EQ(v.Find(u"senddelay"), nullptr);
  EXPECT_EQ(v.Find(u"SendDelay"), nullptr);
  EXPECT_EQ(v.Find(u"a"), nullptr);           // a prefix of "ab"
  EXPECT_EQ(v.Find(u"sendDelayX"), nullptr);  // longer than the name
  ASSERT_NE(v.Find(u"abc"), nullptr);         // escapes in names are decoded
  EXPECT_DOUBLE_EQ(v.Find(u"abc")->number, 3.0);

  JsonValue arr;
  ASSERT_TRUE(ParseJsonDocument(u"[{\"a\":1}]", arr));
  EXPECT_EQ(arr.Find(u"a"), nullptr);  // not an object
  JsonValue str;
  ASSERT_TRUE(ParseJsonDocument(u"\"a\"", str));
  EXPECT_EQ(str.Find(u"a"), nullptr);
}

TEST(JsonReaderTest, NestedValues) {
  JsonValue v;
  ASSERT_TRUE(ParseJsonDocument(
      u"{\"wheels\":[{\"name\":\"W\",\"actions\":[{\"key\":\"a\"},null]}],\"n\":null}", v));
  const JsonValue* wheels = v.Find(u"wheels");
  ASSERT_NE(wheels, nullptr);
  ASSERT_TRUE(wheels->IsArray());
  ASSERT_EQ(wheels->array.size(), 1u);
  const JsonValue* actions = wheels->array[0].Find(u"actions");
  ASSERT_NE(actions, nullptr);
  ASSERT_EQ(actions->array.size(), 2u);
  const JsonValue* key = actions->array[0].Find(u"key");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->string, u"a");
  EXPECT_TRUE(actions->array[1].IsNull());
  ASSERT_NE(v.Find(u"n"), nullptr);
  EXPECT_TRUE(v.Find(u"n")->IsNull());
}

TEST(JsonReaderTest, ReaderSkipsLeadingWhitespaceAndStopsAfterTheValue) {
  JsonReader r{u" \t\r\n true  , \"x\"[1]"};
  JsonValue v;
  ASSERT_TRUE(ParseJsonValue(r, v));
  EXPECT_TRUE(v.IsBool());
  EXPECT_EQ(r.pos, 9u);  // just past "true"
  SkipJsonWhitespace(r);
  EXPECT_EQ(r.pos, 11u);  // at the comma
  ++r.pos;
  ASSERT_TRUE(ParseJsonValue(r, v));
  EXPECT_EQ(v.string, u"x");
  EXPECT_EQ(r.pos, 16u);
  ASSERT_TRUE(ParseJsonValue(r, v));
  ASSERT_TRUE(v.IsArray());
  EXPECT_EQ(r.pos, r.text.size());

  // At the end of the text there is no value.
  EXPECT_FALSE(ParseJsonValue(r, v));
}

TEST(JsonReaderTest, SkipWhitespaceStopsAtOtherBlanks) {
  const std::vector<std::u16string> stoppers = {u"\f", u"\v", u"\u00A0", u"\u2003", u"x"};
  for (const auto& s : stoppers) {
    SCOPED_TRACE(WideToUtf8(s));
    const std::u16string text = u" \t\r\n" + s;
    JsonReader r{text};
    SkipJsonWhitespace(r);
    EXPECT_EQ(r.pos, 4u);
  }
  JsonReader all{u"  \n"};
  SkipJsonWhitespace(all);
  EXPECT_EQ(all.pos, 3u);
}

std::u16string Nested(int depth, std::u16string_view open, std::u16string_view close) {
  std::u16string s;
  for (int i = 0; i < depth; ++i) s += open;
  for (int i = 0; i < depth; ++i) s += close;
  return s;
}

TEST(JsonReaderTest, ModerateNestingParses) {
  JsonValue v;
  EXPECT_TRUE(ParseJsonDocument(Nested(100, u"[", u"]"), v));
  std::u16string obj;
  for (int i = 0; i < 100; ++i) obj += u"{\"a\":";
  obj += u"1";
  for (int i = 0; i < 100; ++i) obj += u"}";
  ASSERT_TRUE(ParseJsonDocument(obj, v));
  const JsonValue* p = &v;
  for (int i = 0; i < 100; ++i) {
    ASSERT_NE(p, nullptr);
    p = p->Find(u"a");
  }
  ASSERT_NE(p, nullptr);
  EXPECT_DOUBLE_EQ(p->number, 1.0);
}

TEST(JsonReaderTest, DeepNestingFailsInsteadOfOverflowing) {
  JsonValue v;
  EXPECT_FALSE(ParseJsonDocument(Nested(200000, u"[", u"]"), v));
  std::u16string obj;
  for (int i = 0; i < 200000; ++i) obj += u"{\"a\":";
  obj += u"1";
  for (int i = 0; i < 200000; ++i) obj += u"}";
  EXPECT_FALSE(ParseJsonDocument(obj, v));
  // Just over the limit fails too.
  EXPECT_FALSE(ParseJsonDocument(Nested(kJsonMaxDepth + 2, u"[", u"]"), v));
}

TEST(JsonReaderTest, KindNamesAreDistinct) {
  // The wording is free; a message must still tell the kinds apart.
  const Kind all[] = {Kind::Null,   Kind::Bool,  Kind::Number,
                      Kind::String, Kind::Array, Kind::Object};
  for (Kind a : all) {
    ASSERT_NE(JsonKindName(a), nullptr);
    EXPECT_GT(std::strlen(JsonKindName(a)), 0u);
    for (Kind b : all)
      if (a != b) {
        EXPECT_STRNE(JsonKindName(a), JsonKindName(b));
      }
  }
}

struct DecodeCase {
  const char* label;
  std::string bytes;
  std::u16string text;
};

std::vector<DecodeCase> DecodeCases() {
  return {
      {"ascii", "{\"a\":1}", u"{\"a\":1}"},
      {"bom skipped", "\xEF\xBB\xBF{\"a\":1}", u"{\"a\":1}"},
      {"only a bom", "\xEF\xBB\xBF", u""},
      {"empty", "", u""},
      {"second bom kept", "\xEF\xBB\xBF\xEF\xBB\xBFx", u"\uFEFFx"},
      {"bom inside kept", "a\xEF\xBB\xBF", u"a\uFEFF"},
      {"polish letters", "Prze\xC5\x82\xC4\x85\x63z", u"Przełącz"},
      {"astral plane", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"line ends kept", "a\r\nb\n", u"a\r\nb\n"},
      {"nul byte kept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"stray byte",
       "a\xFF"
       "b",
       u"a\uFFFDb"},
  };
}

TEST(JsonReaderTest, DecodeFileBytes) {
  for (const auto& c : DecodeCases()) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(DecodeFileBytes(c.bytes), c.text);
  }
}

class JsonFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    return dir_.Write(name, bytes);
  }
  test::TempDir dir_;
};

TEST_F(JsonFileTest, ReadTextFileDecodesLikeMemory) {
  int i = 0;
  for (const auto& c : DecodeCases()) {
    SCOPED_TRACE(c.label);
    const auto path = Write("f" + std::to_string(i++) + ".json", c.bytes);
    const auto text = ReadTextFile(path);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, c.text);
  }
}

TEST_F(JsonFileTest, BomPrefixedFileParsesTheSame) {
  const std::string body = "{\"name\": \"Ko\xC5\x82o\", \"n\": [1, 2]}\n";
  const auto plain = ReadTextFile(Write("plain.json", body));
  const auto bom = ReadTextFile(Write("bom.json", "\xEF\xBB\xBF" + body));
  ASSERT_TRUE(plain.has_value());
  ASSERT_TRUE(bom.has_value());
  EXPECT_EQ(*plain, *bom);
  JsonValue v;
  ASSERT_TRUE(ParseJsonDocument(*bom, v));
  ASSERT_NE(v.Find(u"name"), nullptr);
  EXPECT_EQ(v.Find(u"name")->string, u"Koło");
}

TEST_F(JsonFileTest, MissingFileGivesNothing) {
  EXPECT_FALSE(ReadTextFile(dir_.path() / "absent.json").has_value());
  EXPECT_FALSE(ReadTextFile(dir_.path() / "no_dir" / "absent.json").has_value());
}

TEST_F(JsonFileTest, EmptyFileIsReadAsEmptyText) {
  const auto text = ReadTextFile(Write("empty.json", ""));
  ASSERT_TRUE(text.has_value());
  EXPECT_TRUE(text->empty());
}

TEST_F(JsonFileTest, LargeFileIsReadWhole) {
  std::string big = "[";
  for (int i = 0; i < 100000; ++i) big += (i ? ",\"\xC4\x85\"" : "\"\xC4\x85\"");
  big += "]";
  const auto text = ReadTextFile(Write("big.json", big));
  ASSERT_TRUE(text.has_value());
  JsonValue v;
  ASSERT_TRUE(ParseJsonDocument(*text, v));
  ASSERT_EQ(v.array.size(), 100000u);
  EXPECT_EQ(v.array.back().string, u"ą");
}

}  // namespace
}  // namespace velmor
