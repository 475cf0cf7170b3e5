#pragma once

// Wide-text helpers shared by every engine reader. The engine works on
// UTF-16 text (std::u16string) on every platform; files are UTF-8 on disk.

#include <cstdint>
#include <string>
#include <string_view>

namespace velmor {

// UTF-8 to UTF-16. Ill-formed sequences become U+FFFD, as the Windows
// converter does without its strict flag, so a stray byte never loses the
// rest of a file.
std::u16string Utf8ToWide(std::string_view utf8);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(std::u16string_view wide);

// Shorthand for ASCII literals and test output.
inline std::u16string W(std::string_view utf8) {
  return Utf8ToWide(utf8);
}

// The wide whitespace test used when trimming user-typed names: the C0
// blanks, NEL, NBSP and the Unicode space separators.
bool IsWideSpace(char16_t c);

std::u16string Trim(std::u16string_view s);

// Simple one-to-one case mapping for Latin (with Latin-1 and Latin
// Extended-A, which hold the Polish letters), Greek and Cyrillic. Other
// characters are returned unchanged.
char16_t ToLowerChar(char16_t c);
char16_t ToUpperChar(char16_t c);
std::u16string ToLower(std::u16string_view s);

// The text of a number as a user would write it: integral values without a
// fraction ("5", "-12"), others in the shortest form that reads back
// exactly ("2.5").
std::u16string NumberToText(double v);

// Truncates toward zero, then clamps to lo..hi. Works for any double,
// infinities included.
int TruncClamp(double v, int lo, int hi);

}  // namespace velmor
