#include "tools/velmor-check/json_writer.h"

#include <charconv>
#include <cmath>

#include "engine/core/text.h"

namespace velmor::check {

void JsonWriter::Separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ += ',';
    first_.back() = false;
  }
}

JsonWriter& JsonWriter::BeginObject() {
  Separate();
  out_ += '{';
  first_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  out_ += '}';
  first_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  Separate();
  out_ += '[';
  first_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  out_ += ']';
  first_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
  String(name);
  out_ += ':';
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view s) {
  Separate();
  out_ += '"';
  for (unsigned char c : s) {
    switch (c) {
      case '"':
        out_ += "\\\"";
        break;
      case '\\':
        out_ += "\\\\";
        break;
      case '\n':
        out_ += "\\n";
        break;
      case '\r':
        out_ += "\\r";
        break;
      case '\t':
        out_ += "\\t";
        break;
      case '\b':
        out_ += "\\b";
        break;
      case '\f':
        out_ += "\\f";
        break;
      default:
        if (c < 0x20) {
          static const char* hex = "0123456789abcdef";
          out_ += "\\u00";
          out_ += hex[c >> 4];
          out_ += hex[c & 15];
        } else {
          out_ += static_cast<char>(c);
        }
    }
  }
  out_ += '"';
  return *this;
}

JsonWriter& JsonWriter::String(std::u16string_view w) {
  return String(WideToUtf8(w));
}

JsonWriter& JsonWriter::Int(long long v) {
  Separate();
  out_ += std::to_string(v);
  return *this;
}

JsonWriter& JsonWriter::Double(double v) {
  Separate();
  if (!std::isfinite(v)) {
    out_ += "null";
    return *this;
  }
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  out_.append(buf, r.ptr);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool v) {
  Separate();
  out_ += v ? "true" : "false";
  return *this;
}

}  // namespace velmor::check
