#pragma once

// The engine's own JSON reader: strict in syntax (no comments, no trailing
// commas), liberal in numbers, on UTF-16 text.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

struct JsonMember;

struct JsonValue {
  enum class Kind : std::uint8_t {
    Null = 0,
    Bool = 1,
    Number = 2,
    String = 3,
    Array = 4,
    Object = 5
  };

  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0.0;
  std::u16string string;
  std::vector<JsonValue> array;
  std::vector<JsonMember> members;  // file order; duplicate names are all kept

  bool IsNull() const { return kind == Kind::Null; }
  bool IsBool() const { return kind == Kind::Bool; }
  bool IsNumber() const { return kind == Kind::Number; }
  bool IsString() const { return kind == Kind::String; }
  bool IsArray() const { return kind == Kind::Array; }
  bool IsObject() const { return kind == Kind::Object; }

  // First member with exactly this name (case-sensitive); later duplicates
  // are never seen. Null when this is not an object or has no such member.
  const JsonValue* Find(std::u16string_view name) const;
};

struct JsonMember {
  std::u16string name;
  JsonValue value;
};

// Nesting deeper than this fails the parse instead of exhausting the stack.
inline constexpr int kJsonMaxDepth = 512;

struct JsonReader {
  std::u16string_view text;
  std::size_t pos = 0;
};

// Parses one value at the reader's position (after skipping whitespace) and
// advances past it. False on any syntax error; no position or message.
bool ParseJsonValue(JsonReader& reader, JsonValue& out);

// Space, tab, carriage return and line feed only.
void SkipJsonWhitespace(JsonReader& reader);

// A whole document: one value with nothing but whitespace after it.
bool ParseJsonDocument(std::u16string_view text, JsonValue& out);

// Reads a file whole, skips a leading UTF-8 byte-order mark and converts the
// rest to UTF-16. Empty when the file cannot be opened or read.
std::optional<std::u16string> ReadTextFile(const std::filesystem::path& path);

// The same conversion for bytes already in memory.
std::u16string DecodeFileBytes(std::string_view bytes);

// What kind of JSON text a value is, for messages ("a number", "a string", ...).
const char* JsonKindName(JsonValue::Kind kind);

}  // namespace velmor
