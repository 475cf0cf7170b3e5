#pragma once

// A small streaming JSON writer for the checker's --json output (UTF-8,
// compact). Commas and nesting are tracked so callers only say what comes
// next.

#include <string>
#include <string_view>
#include <vector>

namespace velmor::check {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view name);
  JsonWriter& String(std::string_view utf8);
  JsonWriter& String(std::u16string_view wide);
  JsonWriter& Int(long long v);
  // Non-finite numbers have no JSON form and are written as null.
  JsonWriter& Double(double v);
  JsonWriter& Bool(bool v);

  const std::string& str() const { return out_; }

 private:
  void Separate();
  std::string out_;
  std::vector<bool> first_;  // per open container: nothing written yet
  bool afterKey_ = false;
};

}  // namespace velmor::check
