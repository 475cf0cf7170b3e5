#include "engine/core/json_reader.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>

#include "engine/core/text.h"

namespace velmor {

const JsonValue* JsonValue::Find(std::u16string_view name) const {
  if (kind != Kind::Object) return nullptr;
  for (const auto& m : members)
    if (m.name == name) return &m.value;
  return nullptr;
}

namespace {

bool IsJsonSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool IsNumberRunChar(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == u'.' || c == u'e' || c == u'E' || c == u'-' || c == u'+';
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Decimal order of magnitude of the number at the start of `s` (digits,
// optional fraction, optional exponent), used only to tell an overflowing
// text from an underflowing one.
long long DecimalMagnitude(std::string_view s) {
  std::size_t i = 0;
  long long intDigits = 0, leadingFracZeros = 0;
  bool nonzero = false;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    if (s[i] != '0' || nonzero) {
      nonzero = true;
      ++intDigits;
    }
    ++i;
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      if (!nonzero) {
        if (s[i] == '0')
          ++leadingFracZeros;
        else
          nonzero = true;
      }
      ++i;
    }
  }
  long long exp = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      if (exp < 1000000000) exp = exp * 10 + (s[i] - '0');
      ++i;
    }
    if (neg) exp = -exp;
  }
  return intDigits > 0 ? intDigits - 1 + exp : -leadingFracZeros - 1 + exp;
}

// The C library's wide-string-to-double conversion, without its locale: it
// converts the longest prefix that forms a number and gives 0 when there is
// none.
double TextToDouble(std::u16string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char16_t c : text) s.push_back(static_cast<char>(c));  // the run is ASCII only
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  double v = 0.0;
  std::string_view rest(s.data() + i, s.size() - i);
  auto r = std::from_chars(rest.data(), rest.data() + rest.size(), v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    v = DecimalMagnitude(rest) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (r.ec != std::errc()) {
    v = 0.0;
  }
  return negative ? -v : v;
}

class Parser {
 public:
  explicit Parser(JsonReader& r) : r_(r) {}

  bool Value(JsonValue& out, int depth) {
    SkipJsonWhitespace(r_);
    if (depth > kJsonMaxDepth) return false;
    const auto& t = r_.text;
    if (r_.pos >= t.size()) return false;
    char16_t c = t[r_.pos];
    switch (c) {
      case u'"':
        out.kind = JsonValue::Kind::String;
        return String(out.string);
      case u'[':
        return Array(out, depth);
      case u'{':
        return Object(out, depth);
      case u't':
        return Word(u"true", out, JsonValue::Kind::Bool, true);
      case u'f':
        return Word(u"false", out, JsonValue::Kind::Bool, false);
      case u'n':
        return Word(u"null", out, JsonValue::Kind::Null, false);
      default:
        return Number(out);
    }
  }

 private:
  bool String(std::u16string& out) {
    const auto& t = r_.text;
    std::size_t i = r_.pos + 1;  // past the opening quote
    out.clear();
    for (;;) {
      if (i >= t.size()) return false;
      char16_t c = t[i];
      if (c == u'"') break;
      if (c != u'\\') {
        out.push_back(c);
        ++i;
        continue;
      }
      if (++i >= t.size()) return false;
      switch (t[i]) {
        case u'"':
          out.push_back(u'"');
          break;
        case u'/':
          out.push_back(u'/');
          break;
        case u'\\':
          out.push_back(u'\\');
          break;
        case u'b':
          out.push_back(u'\b');
          break;
        case u'f':
          out.push_back(u'\f');
          break;
        case u'n':
          out.push_back(u'\n');
          break;
        case u'r':
          out.push_back(u'\r');
          break;
        case u't':
          out.push_back(u'\t');
          break;
        case u'u': {
          if (t.size() - i <= 4) return false;  // fewer than four after the u
          unsigned v = 0;
          for (int k = 1; k <= 4; ++k) {
            int d = HexDigit(t[i + k]);
            if (d < 0) return false;
            v = (v << 4) | static_cast<unsigned>(d);
          }
          out.push_back(static_cast<char16_t>(v));
          i += 4;
          break;
        }
        default:
          return false;
      }
      ++i;
    }
    r_.pos = i + 1;
    return true;
  }

  bool Array(JsonValue& out, int depth) {
    out.kind = JsonValue::Kind::Array;
    out.array.clear();
    ++r_.pos;
    SkipJsonWhitespace(r_);
    if (Peek() == u']') {
      ++r_.pos;
      return true;
    }
    for (;;) {
      out.array.emplace_back();
      if (!Value(out.array.back(), depth + 1)) return false;
      SkipJsonWhitespace(r_);
      char16_t c = Peek();
      ++r_.pos;
      if (c == u']') return true;
      if (c != u',') return false;
      SkipJsonWhitespace(r_);
      if (Peek() == u']') return false;  // no trailing comma
    }
  }

  bool Object(JsonValue& out, int depth) {
    out.kind = JsonValue::Kind::Object;
    out.members.clear();
    ++r_.pos;
    SkipJsonWhitespace(r_);
    if (Peek() == u'}') {
      ++r_.pos;
      return true;
    }
    for (;;) {
      SkipJsonWhitespace(r_);
      if (Peek() != u'"') return false;
      out.members.emplace_back();
      JsonMember& m = out.members.back();
      if (!String(m.name)) return false;
      SkipJsonWhitespace(r_);
      if (Peek() != u':') return false;
      ++r_.pos;
      if (!Value(m.value, depth + 1)) return false;
      SkipJsonWhitespace(r_);
      char16_t c = Peek();
      ++r_.pos;
      if (c == u'}') return true;
      if (c != u',') return false;
      SkipJsonWhitespace(r_);
      if (Peek() == u'}') return false;  // no trailing comma
    }
  }

  bool Word(std::u16string_view word, JsonValue& out, JsonValue::Kind kind, bool b) {
    if (r_.text.substr(r_.pos, word.size()) != word) return false;
    r_.pos += word.size();
    out.kind = kind;
    out.boolean = b;
    return true;
  }

  bool Number(JsonValue& out) {
    const auto& t = r_.text;
    std::size_t start = r_.pos, i = r_.pos;
    if (t[i] == u'-' || t[i] == u'+') ++i;
    while (i < t.size() && IsNumberRunChar(t[i])) ++i;
    if (i == start) return false;
    out.kind = JsonValue::Kind::Number;
    out.number = TextToDouble(t.substr(start, i - start));
    r_.pos = i;
    return true;
  }

  // The character at the position, or 0 at the end (never a valid token).
  char16_t Peek() const { return r_.pos < r_.text.size() ? r_.text[r_.pos] : u'\0'; }

  JsonReader& r_;
};

}  // namespace

void SkipJsonWhitespace(JsonReader& r) {
  while (r.pos < r.text.size() && IsJsonSpace(r.text[r.pos])) ++r.pos;
}

bool ParseJsonValue(JsonReader& reader, JsonValue& out) {
  out = JsonValue{};
  Parser p(reader);
  return p.Value(out, 0);
}

bool ParseJsonDocument(std::u16string_view text, JsonValue& out) {
  JsonReader r{text, 0};
  if (!ParseJsonValue(r, out)) return false;
  SkipJsonWhitespace(r);
  return r.pos == text.size();
}

std::u16string DecodeFileBytes(std::string_view bytes) {
  if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
      static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
    bytes.remove_prefix(3);
  return Utf8ToWide(bytes);
}

std::optional<std::u16string> ReadTextFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return DecodeFileBytes(bytes);
}

const char* JsonKindName(JsonValue::Kind kind) {
  switch (kind) {
    case JsonValue::Kind::Null:
      return "null";
    case JsonValue::Kind::Bool:
      return "true/false";
    case JsonValue::Kind::Number:
      return "a number";
    case JsonValue::Kind::String:
      return "a string";
    case JsonValue::Kind::Array:
      return "an array";
    case JsonValue::Kind::Object:
      return "an object";
  }
  return "?";
}

}  // namespace velmor
