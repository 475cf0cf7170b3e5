// The engine's JSON reader on arbitrary bytes: decoded as a file would be,
// parsed as a document and as a value at every member lookup a caller makes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/core/json_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::u16string text = velmor::DecodeFileBytes(bytes);
  velmor::JsonValue v;
  if (velmor::ParseJsonDocument(text, v)) (void)v.Find(u"wheels");
  // A value followed by anything: the reader must stop inside the text.
  velmor::JsonReader r{text, 0};
  velmor::JsonValue first;
  if (velmor::ParseJsonValue(r, first) && r.pos > text.size()) __builtin_trap();
  return 0;
}
