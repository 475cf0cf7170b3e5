#include "engine/core/text.h"

#include <charconv>
#include <cmath>

namespace velmor {

std::u16string Utf8ToWide(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    unsigned c = p[i];
    if (c < 0x80) {
      out.push_back(static_cast<char16_t>(c));
      ++i;
      continue;
    }
    int len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2, cp = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3, cp = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4, cp = c & 0x07, min = 0x10000;
    }
    bool ok = len > 0 && i + len <= n;
    for (int k = 1; ok && k < len; ++k) {
      unsigned cc = p[i + k];
      if ((cc & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (!ok) {
      // One replacement for the lead byte; the following bytes are looked at
      // again, so a truncated sequence never swallows the next character.
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string WideToUtf8(std::u16string_view w) {
  std::string out;
  out.reserve(w.size());
  for (std::size_t i = 0; i < w.size(); ++i) {
    char32_t cp = w[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 &&
        w[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (w[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

bool IsWideSpace(char16_t c) {
  if (c == u' ' || (c >= 0x09 && c <= 0x0D)) return true;
  switch (c) {
    case 0x85:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
    case 0xFEFF:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

std::u16string Trim(std::u16string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsWideSpace(s[b])) ++b;
  while (e > b && IsWideSpace(s[e - 1])) --e;
  return std::u16string(s.substr(b, e - b));
}

char16_t ToLowerChar(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 32);
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130) return u'i';
    if (c == 0x178) return 0xFF;
    // Pairs start on even code points, except 0x139..0x148 and 0x179..0x17E.
    bool oddFirst = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (oddFirst) return (c & 1) ? static_cast<char16_t>(c + 1) : c;
    return (c & 1) ? c : static_cast<char16_t>(c + 1);
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  if (c >= 0x460 && c <= 0x4FF && c != 0x482 && !(c >= 0x483 && c <= 0x489)) {
    if (c >= 0x4C1 && c <= 0x4CE) return (c & 1) ? static_cast<char16_t>(c + 1) : c;
    if (c == 0x4C0) return 0x4CF;
    return (c & 1) ? c : static_cast<char16_t>(c + 1);
  }
  return c;
}

char16_t ToUpperChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x131) return u'I';
    if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    bool oddFirst = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddFirst) return (c & 1) ? c : static_cast<char16_t>(c - 1);
    return (c & 1) ? static_cast<char16_t>(c - 1) : c;
  }
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return static_cast<char16_t>(c - 32);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  if (c >= 0x460 && c <= 0x4FF && c != 0x482 && !(c >= 0x483 && c <= 0x489)) {
    if (c >= 0x4C1 && c <= 0x4CE) return (c & 1) ? c : static_cast<char16_t>(c - 1);
    if (c == 0x4CF) return 0x4C0;
    return (c & 1) ? static_cast<char16_t>(c - 1) : c;
  }
  return c;
}

std::u16string ToLower(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) c = ToLowerChar(c);
  return out;
}

std::u16string NumberToText(double v) {
  char buf[64];
  std::to_chars_result r;
  if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 1e15) {
    r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(v));
  } else {
    r = std::to_chars(buf, buf + sizeof buf, v);
  }
  return Utf8ToWide(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

int TruncClamp(double v, int lo, int hi) {
  double t = std::trunc(v);
  if (!(t >= lo)) return lo;  // also catches NaN
  if (t > hi) return hi;
  return static_cast<int>(t);
}

}  // namespace velmor
