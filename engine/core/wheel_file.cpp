#include "engine/core/wheel_file.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "engine/core/text.h"

namespace velmor {

const char kDefaultWheelFileText[] =
    "{\n"
    "  \"wheels\": [\n"
    "    {\n"
    "      \"name\": \"Kolo 1\",\n"
    "      \"actions\": [\n"
    "        { \"name\": \"Funkcja 1\", \"key\": \"1\" },\n"
    "        { \"name\": \"Funkcja 2\", \"key\": \"2\" },\n"
    "        { \"name\": \"Funkcja 3\", \"key\": \"3\" },\n"
    "        { \"name\": \"Funkcja 4\", \"key\": \"4\" },\n"
    "        { \"name\": \"Funkcja 5\", \"key\": \"5\" },\n"
    "        { \"name\": \"Funkcja 6\", \"key\": \"6\" },\n"
    "        { \"name\": \"Funkcja 7\", \"key\": \"7\" },\n"
    "        { \"name\": \"Funkcja 8\", \"key\": \"8\" }\n"
    "      ]\n"
    "    }\n"
    "  ]\n"
    "}\n";

const char kDefaultVoiceFileText[] =
    "{\n"
    "  \"actions\": [\n"
    "    { \"name\": \"Prze\xC5\x82\xC4\x85"
    "cz okno\", \"voice\": \"prze\xC5\x82\xC4\x85"
    "cz okno\",\n"
    "      \"steps\": [ { \"key\": \"alt\", \"action\": \"hold\" },\n"
    "                 { \"key\": \"tab\", \"action\": \"click\" },\n"
    "                 { \"key\": \"alt\", \"action\": \"release\" } ] }\n"
    "  ]\n"
    "}\n";

std::optional<Rgb> ParseHexColor(std::u16string_view t) {
  if (t.size() != 7 || t[0] != u'#') return std::nullopt;
  int d[6];
  for (int i = 0; i < 6; ++i) {
    char16_t c = t[static_cast<std::size_t>(i) + 1];
    if (c >= u'0' && c <= u'9')
      d[i] = c - u'0';
    else if (c >= u'a' && c <= u'f')
      d[i] = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
      d[i] = c - u'A' + 10;
    else
      return std::nullopt;
  }
  return Rgb{static_cast<std::uint8_t>(d[0] * 16 + d[1]),
             static_cast<std::uint8_t>(d[2] * 16 + d[3]),
             static_cast<std::uint8_t>(d[4] * 16 + d[5])};
}

namespace {

std::string Quote(std::u16string_view s) {
  return "\"" + WideToUtf8(s) + "\"";
}

// Collects problems for one file; does nothing when the engine loads
// silently.
class Reporter {
 public:
  Reporter(LoadReport* report, const std::string& file) : report_(report), file_(file) {}
  bool active() const { return report_ != nullptr; }
  void Changed(const std::string& path, const std::string& message) {
    if (report_) report_->Changed(file_, path, message);
  }
  void Unusable(const std::string& path, const std::string& message) {
    if (report_) report_->Unusable(file_, path, message);
  }
  void Note(const std::string& path, const std::string& message) {
    if (report_) report_->Note(file_, path, message);
  }
  // Members the reader does not use: a typo the user would want to hear of.
  void UnknownMembers(const JsonValue& obj, const std::string& path,
                      std::initializer_list<std::u16string_view> known) {
    if (!report_) return;
    for (const auto& m : obj.members)
      if (std::find(known.begin(), known.end(), m.name) == known.end())
        Note(path, "unknown member " + Quote(m.name) + "; ignored");
  }
  void Duplicates(const JsonValue& obj, const std::string& path) {
    if (!report_) return;
    for (std::size_t i = 0; i < obj.members.size(); ++i)
      for (std::size_t j = 0; j < i; ++j)
        if (obj.members[j].name == obj.members[i].name) {
          Changed(path, "member " + Quote(obj.members[i].name) +
                            " appears again; only the first is used");
          break;
        }
  }

 private:
  LoadReport* report_;
  const std::string& file_;
};

std::string Index(const std::string& path, const char* member, std::size_t i) {
  std::string p = path;
  if (!p.empty()) p += ".";
  p += member;
  p += "[" + std::to_string(i) + "]";
  return p;
}

std::string Member(const std::string& path, const char* member) {
  return path.empty() ? std::string(member) : path + "." + member;
}

// A number used as a key name is its integer in decimal, as the GUI reads it
// too, so 5 and 5.0 both mean the key "5".
std::u16string KeyNumberText(double v) {
  return NumberToText(std::trunc(v));
}

// A key value: a name, or a number written in decimal and resolved as one.
KeySpec ResolveKeyValue(const JsonValue* v) {
  if (v && v->IsString()) return ResolveKeyName(v->string);
  if (v && v->IsNumber()) return ResolveKeyName(KeyNumberText(v->number));
  return KeySpec{};
}

std::string DescribeKeyValue(const JsonValue* v) {
  if (!v) return "no key";
  if (v->IsString()) return "key " + Quote(v->string) + " is not a key name";
  if (v->IsNumber()) return "key " + WideToUtf8(KeyNumberText(v->number)) + " is not a key name";
  return std::string("key is ") + JsonKindName(v->kind) + ", not a name";
}

std::optional<Step> ParseStep(const JsonValue& obj, const std::string& path, Reporter& rep) {
  if (!obj.IsObject()) {
    rep.Changed(path,
                std::string("step is ") + JsonKindName(obj.kind) + ", not an object; dropped");
    return std::nullopt;
  }
  rep.Duplicates(obj, path);
  struct TextKind {
    std::u16string_view member;
    StepKind kind;
  };
  static constexpr TextKind kTextKinds[] = {{u"open", StepKind::Open},
                                            {u"call", StepKind::Call},
                                            {u"wheel", StepKind::Wheel},
                                            {u"profile", StepKind::Profile},
                                            {u"map", StepKind::Map}};
  for (const auto& tk : kTextKinds) {
    const JsonValue* v = obj.Find(tk.member);
    if (!v) continue;
    const std::string name = WideToUtf8(tk.member);
    if (!v->IsString() || v->string.empty()) {
      rep.Changed(path, Quote(tk.member) +
                            (v->IsString()
                                 ? " is empty"
                                 : std::string(" is ") + JsonKindName(v->kind) + ", not a string") +
                            "; step dropped");
      return std::nullopt;
    }
    Step s;
    s.kind = tk.kind;
    s.text = v->string;
    if (tk.kind == StepKind::Map) {
      const JsonValue* to = obj.Find(u"to");
      if (to && to->IsString() && !to->string.empty()) {
        s.key = ResolveKeyName(to->string);
        if (!s.key.valid)
          rep.Changed(Member(path, "to"), "target " + Quote(to->string) +
                                              " is not a key or target name; the rule is removed "
                                              "when the step runs");
      } else {
        rep.Note(Member(path, "to"), "no target; the step removes the rule");
      }
      rep.UnknownMembers(obj, path, {u"map", u"to"});
    } else {
      rep.UnknownMembers(obj, path, {tk.member});
    }
    return s;
  }

  if (const JsonValue* w = obj.Find(u"wait")) {
    if (!w->IsNumber()) {
      rep.Changed(path, std::string("\"wait\" is ") + JsonKindName(w->kind) +
                            ", not a number; step dropped");
      return std::nullopt;
    }
    Step s;
    s.kind = StepKind::Wait;
    s.value = TruncClamp(w->number, 0, 60000);
    if (s.value != w->number)
      rep.Changed(Member(path, "wait"), "wait " + WideToUtf8(NumberToText(w->number)) +
                                            " ms became " + std::to_string(s.value));
    rep.UnknownMembers(obj, path, {u"wait"});
    return s;
  }

  // A key step.
  Step s;
  const JsonValue* action = obj.Find(u"action");
  if (action && action->IsString()) {
    if (auto k = ParseStepAction(action->string)) {
      s.kind = *k;
    } else {
      rep.Changed(Member(path, "action"), "action " + Quote(action->string) +
                                              " is not an action word; the step is a click");
    }
  } else if (action) {
    rep.Changed(Member(path, "action"), std::string("action is ") + JsonKindName(action->kind) +
                                            ", not a word; the step is a click");
  }
  rep.UnknownMembers(obj, path, {u"key", u"action", u"value"});
  if (s.kind != StepKind::ReadSelection && s.kind != StepKind::ReleaseAll) {
    const JsonValue* key = obj.Find(u"key");
    s.key = ResolveKeyValue(key);
    if (!s.key.valid) {
      rep.Changed(path, DescribeKeyValue(key) + "; step dropped");
      return std::nullopt;
    }
  }
  const JsonValue* value = obj.Find(u"value");
  if (value && !value->IsNumber())
    rep.Changed(Member(path, "value"),
                std::string("value is ") + JsonKindName(value->kind) + ", not a number; ignored");
  const bool hasValue = value && value->IsNumber();
  switch (s.kind) {
    case StepKind::Click:
      s.value = hasValue ? TruncClamp(value->number, 1, 100) : 1;
      break;
    case StepKind::Hold:
      s.value = hasValue ? TruncClamp(value->number, 0, 60000) : 0;
      break;
    default:
      s.value = hasValue ? TruncClamp(value->number, 0, 2147483647) : 0;
      break;
  }
  if (hasValue && s.value != value->number)
    rep.Changed(Member(path, "value"), "value " + WideToUtf8(NumberToText(value->number)) +
                                           " became " + std::to_string(s.value));
  return s;
}

// The older "keys"/"key" forms: every resolvable key becomes a click.
void ParseLegacyKeys(const JsonValue& v, const std::string& path, std::vector<Step>& steps,
                     Reporter& rep) {
  auto one = [&](const JsonValue& item, const std::string& itemPath) {
    KeySpec k = ResolveKeyValue(&item);
    if (!k.valid) {
      rep.Changed(itemPath, DescribeKeyValue(&item) + "; dropped");
      return;
    }
    Step s;
    s.kind = StepKind::Click;
    s.key = std::move(k);
    s.value = 1;
    steps.push_back(std::move(s));
  };
  if (v.IsArray()) {
    for (std::size_t i = 0; i < v.array.size(); ++i)
      one(v.array[i], path + "[" + std::to_string(i) + "]");
  } else {
    one(v, path);
  }
}

WheelAction ParseField(const JsonValue& obj, const std::string& path, Reporter& rep) {
  WheelAction f;
  if (!obj.IsObject()) {
    rep.Changed(path, std::string("field is ") + JsonKindName(obj.kind) +
                          ", not an object; the field is empty");
    return f;
  }
  rep.Duplicates(obj, path);
  rep.UnknownMembers(obj, path,
                     {u"name", u"steps", u"keys", u"key", u"delay", u"color", u"icon", u"voice"});
  auto text = [&](std::u16string_view member, std::u16string& out) {
    const JsonValue* v = obj.Find(member);
    if (!v) return;
    if (v->IsString())
      out = v->string;
    else
      rep.Changed(Member(path, WideToUtf8(member).c_str()),
                  std::string("is ") + JsonKindName(v->kind) + ", not a string; ignored");
  };
  text(u"name", f.name);
  text(u"icon", f.icon);
  text(u"voice", f.voice);

  if (const JsonValue* d = obj.Find(u"delay")) {
    if (d->IsNumber()) {
      f.delay = TruncClamp(d->number, 0, 2000);
      if (f.delay != d->number)
        rep.Changed(Member(path, "delay"), "delay " + WideToUtf8(NumberToText(d->number)) +
                                               " became " + std::to_string(f.delay));
    } else {
      rep.Changed(Member(path, "delay"),
                  std::string("delay is ") + JsonKindName(d->kind) + ", not a number; 30 used");
    }
  }
  if (const JsonValue* c = obj.Find(u"color")) {
    std::optional<Rgb> rgb = c->IsString() ? ParseHexColor(c->string) : std::nullopt;
    if (rgb) {
      f.color = *rgb;
      f.hasColor = true;
    } else {
      rep.Changed(Member(path, "color"),
                  (c->IsString() ? "colour " + Quote(c->string)
                                 : std::string("colour is ") + JsonKindName(c->kind)) +
                      " is not #RRGGBB; the field has no colour of its own");
    }
  }

  const JsonValue* steps = obj.Find(u"steps");
  const JsonValue* keys = obj.Find(u"keys");
  const JsonValue* key = obj.Find(u"key");
  if (steps) {
    if (keys) rep.Changed(Member(path, "keys"), "ignored: the field has \"steps\"");
    if (key) rep.Changed(Member(path, "key"), "ignored: the field has \"steps\"");
    if (!steps->IsArray()) {
      rep.Changed(Member(path, "steps"), std::string("steps is ") + JsonKindName(steps->kind) +
                                             ", not an array; the field has no steps");
      return f;
    }
    for (std::size_t i = 0; i < steps->array.size(); ++i)
      if (auto s = ParseStep(steps->array[i], Index(path, "steps", i), rep))
        f.steps.push_back(std::move(*s));
  } else if (keys) {
    if (key) rep.Changed(Member(path, "key"), "ignored: the field has \"keys\"");
    ParseLegacyKeys(*keys, Member(path, "keys"), f.steps, rep);
  } else if (key) {
    ParseLegacyKeys(*key, Member(path, "key"), f.steps, rep);
  }
  return f;
}

bool ParseWheel(const JsonValue& actions, std::u16string name, const std::string& path,
                WheelList& out, std::size_t limit, Reporter& rep) {
  Wheel w;
  w.name = std::move(name);
  const std::size_t n = actions.array.size();
  // Fields past the limit are cut without being read.
  const std::size_t keep = std::min(n, limit);
  w.fields.reserve(keep);
  for (std::size_t i = 0; i < keep; ++i)
    w.fields.push_back(ParseField(actions.array[i], Index(path, "actions", i), rep));
  bool ok = true;
  if (n > limit) {
    rep.Changed(Member(path, "actions"), "the wheel has " + std::to_string(n) +
                                             " fields; only the first " + std::to_string(limit) +
                                             " are kept");
    ok = false;
  }
  if (w.fields.empty())
    rep.Changed(Member(path, "actions"), "the wheel has no fields; dropped");
  else
    out.push_back(std::move(w));
  return ok;
}

}  // namespace

std::vector<Step> ParseStepList(const JsonValue& steps, LoadReport* report,
                                const std::string& fileLabel, const std::string& path) {
  Reporter rep(report, fileLabel);
  std::vector<Step> out;
  if (!steps.IsArray()) {
    rep.Changed(path, std::string("steps is ") + JsonKindName(steps.kind) + ", not an array");
    return out;
  }
  for (std::size_t i = 0; i < steps.array.size(); ++i)
    if (auto s = ParseStep(steps.array[i], path + "[" + std::to_string(i) + "]", rep))
      out.push_back(std::move(*s));
  return out;
}

bool LoadWheelRoot(const JsonValue& root, WheelList& out, std::size_t limit, LoadReport* report,
                   const std::string& fileLabel) {
  out.clear();
  Reporter rep(report, fileLabel);
  const JsonValue* wheels = root.Find(u"wheels");
  if (wheels && wheels->IsArray()) {
    rep.UnknownMembers(root, "", {u"wheels", u"actions"});
    if (root.Find(u"actions")) rep.Note("actions", "ignored: the file has \"wheels\"");
    bool ok = true;
    for (std::size_t i = 0; i < wheels->array.size(); ++i) {
      const JsonValue& el = wheels->array[i];
      const std::string path = Index("", "wheels", i);
      const JsonValue* actions = el.Find(u"actions");
      if (!actions || !actions->IsArray()) {
        rep.Changed(path, el.IsObject() ? "the wheel has no \"actions\" array; skipped"
                                        : std::string("the wheel is ") + JsonKindName(el.kind) +
                                              ", not an object; skipped");
        ok = false;
        continue;
      }
      rep.UnknownMembers(el, path, {u"name", u"actions"});
      const JsonValue* name = el.Find(u"name");
      if (name && !name->IsString())
        rep.Changed(Member(path, "name"), std::string("name is ") + JsonKindName(name->kind) +
                                              ", not a string; the wheel has no name");
      if (!ParseWheel(*actions, name && name->IsString() ? name->string : std::u16string(), path,
                      out, limit, rep))
        ok = false;
    }
    return ok;
  }
  const JsonValue* actions = root.Find(u"actions");
  if (actions && actions->IsArray()) {
    if (wheels) rep.Changed("wheels", "is not an array; the top-level \"actions\" are used");
    rep.UnknownMembers(root, "", {u"wheels", u"actions"});
    return ParseWheel(*actions, u"", "", out, limit, rep);
  }
  rep.Unusable("", root.IsObject() ? "neither a \"wheels\" nor an \"actions\" array; no wheel"
                                   : std::string("the file holds ") + JsonKindName(root.kind) +
                                         ", not an object; no wheel");
  return false;
}

bool LoadWheelText(std::string_view bytes, WheelList& out, std::size_t limit, LoadReport* report,
                   const std::string& fileLabel) {
  out.clear();
  JsonValue root;
  if (!ParseJsonDocument(DecodeFileBytes(bytes), root)) {
    if (report) report->Unusable(fileLabel, "", "not valid JSON; no wheel");
    return false;
  }
  return LoadWheelRoot(root, out, limit, report, fileLabel);
}

bool LoadWheelFile(const std::filesystem::path& path, WheelList& out, std::size_t limit,
                   LoadReport* report) {
  out.clear();
  const std::string label = WideToUtf8(path.filename().u16string());
  auto text = ReadTextFile(path);
  if (!text) {
    if (report) report->Unusable(label, "", "cannot be read; no wheel");
    return false;
  }
  JsonValue root;
  if (!ParseJsonDocument(*text, root)) {
    if (report) report->Unusable(label, "", "not valid JSON; no wheel");
    return false;
  }
  return LoadWheelRoot(root, out, limit, report, label);
}

}  // namespace velmor
