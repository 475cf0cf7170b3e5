#include "engine/mapping/map_rules.h"

#include <array>
#include <cwctype>
#include <memory>

#include "engine/core/json_reader.h"
#include "engine/core/text.h"
#include "engine/core/wheel_file.h"

namespace velmor::mapping {

namespace {

constexpr std::array<std::u16string_view, 8> kStickNames = {u"lsl", u"lsr", u"lsu", u"lsd",
                                                            u"rsl", u"rsr", u"rsu", u"rsd"};
constexpr std::array<std::u16string_view, 5> kMouseNames = {u"lmb", u"rmb", u"mmb", u"mb4", u"mb5"};

bool EndsWith(std::u16string_view s, std::u16string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::u16string TrimTrailing(std::u16string s) {
  while (!s.empty() && IsWideSpace(s.back())) s.pop_back();
  return s;
}

// A target that only a source can be: keys and mouse buttons. Virtual-pad
// controls and the wheel, steering and off targets name no input.
bool IsInputName(const KeySpec& k) {
  return k.valid && !k.vpad && !k.wheelTarget && !k.steerTarget && !k.offTarget && !k.sequence &&
         (k.isMouse || k.vk != 0);
}

// The number after "btn" as C's integer conversion reads it: blanks, a sign,
// then digits; anything else ends it (and nothing read is 0).
long LeadingInteger(std::u16string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == u' ' || (s[i] >= u'\t' && s[i] <= u'\r'))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  long v = 0;
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
    v = v * 10 + (s[i] - u'0');
    if (v > 100000) break;  // far outside 1..64 already
  }
  return negative ? -v : v;
}

RuleTarget SequenceTarget(std::vector<Step> steps, int delay) {
  RuleTarget t;
  t.sequence = std::make_shared<const std::vector<Step>>(std::move(steps));
  t.sequenceDelay = delay;
  t.valid = true;
  t.name = u"(sekwencja)";
  return t;
}

std::string Quote(std::u16string_view s) {
  return "\"" + WideToUtf8(s) + "\"";
}

}  // namespace

bool TargetSet(const RuleTarget& t) {
  return t.sequence ? !t.sequence->empty() : t.valid;
}

SourceText SplitGesture(std::u16string_view src, bool trimLeading) {
  std::u16string s = TrimTrailing(ToLower(src));
  if (trimLeading) {
    std::size_t i = 0;
    while (i < s.size() && IsWideSpace(s[i])) ++i;
    s.erase(0, i);
  }
  SourceText out;
  auto cut = [&](std::size_t suffix, Gesture g) {
    s.resize(s.size() - suffix);
    out.base = TrimTrailing(std::move(s));
    out.gesture = g;
  };
  if (s.size() > 3 && EndsWith(s, u"x2") && IsWideSpace(s[s.size() - 3])) {
    cut(2, Gesture::Double);
  } else if (s.size() >= 6 && EndsWith(s, u"hold") && IsWideSpace(s[s.size() - 5])) {
    cut(4, Gesture::Hold);
  } else {
    out.base = std::move(s);
  }
  return out;
}

std::optional<std::uint32_t> ParseGlobalSource(std::u16string_view src) {
  const SourceText st = SplitGesture(src, true);
  std::uint32_t code = 0;
  if (st.base.rfind(u"pad:", 0) == 0) {
    auto mask = PadButtonMask(std::u16string_view(st.base).substr(4));
    if (!mask) return std::nullopt;
    code = kSourcePad | *mask;
  } else {
    const KeySpec k = ResolveKeyName(st.base);
    if (!IsInputName(k)) return std::nullopt;
    code = k.isMouse ? kSourceMouse | static_cast<std::uint32_t>(k.mouseButton) : k.vk;
  }
  return WithGesture(code, st.gesture);
}

std::optional<DeviceSource> ParseDeviceSource(std::u16string_view src) {
  const SourceText st = SplitGesture(src, false);
  DeviceSource out;
  out.gesture = st.gesture;
  for (std::size_t i = 0; i < kStickNames.size(); ++i) {
    if (st.base == kStickNames[i]) {
      out.kind = SourceKind::Pad;
      out.index = static_cast<std::uint32_t>(17 + i);
      return out;
    }
  }
  if (st.base.size() > 2 && st.base.rfind(u"btn", 0) == 0) {
    const long n = LeadingInteger(std::u16string_view(st.base).substr(3));
    if (n < 1 || n > 64) return std::nullopt;
    out.kind = SourceKind::Pad;
    out.index = static_cast<std::uint32_t>(n);
    return out;
  }
  const KeySpec k = ResolveKeyName(st.base);
  if (!IsInputName(k)) return std::nullopt;
  out.kind = k.isMouse ? SourceKind::Mouse : SourceKind::Keyboard;
  out.index = k.isMouse ? static_cast<std::uint32_t>(k.mouseButton) : k.vk;
  return out;
}

std::u16string NormalizeDeviceKey(std::u16string_view device) {
  std::u16string d = ToLower(device);
  if (d == u"xac" || d == u"global") return d;
  const auto vid = d.find(u"vid_");
  const auto pid = d.find(u"pid_");
  if (vid != std::u16string::npos && pid != std::u16string::npos && d.size() - vid >= 8 &&
      d.size() - pid >= 8)
    return d.substr(vid, 8) + u"&" + d.substr(pid, 8);
  return d;
}

std::u16string SanitizeSchemeName(std::u16string_view name) {
  std::u16string out;
  for (char16_t c : name) {
    if (std::u16string_view(u"\\/:*?\"<>|\t\n\r").find(c) != std::u16string_view::npos) continue;
    out += c;
  }
  while (!out.empty() && (out.back() == u' ' || out.back() == u'.')) out.pop_back();
  std::size_t i = 0;
  while (i < out.size() && out[i] == u' ') ++i;
  return out.substr(i);
}

std::vector<GlobalRuleText> ReadGlobalRules(std::u16string_view text, LoadReport* report,
                                            const std::string& file) {
  std::vector<GlobalRuleText> rules;
  JsonValue root;
  const JsonValue* array = nullptr;
  if (ParseJsonDocument(text, root) && root.IsObject()) {
    array = root.Find(u"rules");
    if (array && !array->IsArray()) array = nullptr;
  }
  if (array) {
    for (std::size_t i = 0; i < array->array.size(); ++i) {
      const JsonValue& el = array->array[i];
      const std::string path = "rules[" + std::to_string(i) + "]";
      const JsonValue* src = el.Find(u"src");
      if (!src || !src->IsString()) {
        if (report)
          report->Changed(file, path,
                          !el.IsObject() ? std::string("rule is ") + JsonKindName(el.kind) +
                                               ", not an object; skipped"
                          : !src ? std::string("rule has no \"src\"; skipped")
                                 : std::string("\"src\" is ") + JsonKindName(src->kind) +
                                       ", not a string; skipped");
        continue;
      }
      int delay = 30;
      if (const JsonValue* d = el.Find(u"delay"); d && d->IsNumber())
        delay = TruncClamp(d->number, 0, 60000);
      RuleTarget target;
      if (const JsonValue* steps = el.Find(u"steps")) {
        std::vector<Step> list = ParseStepList(*steps, report, file, path + ".steps");
        if (!list.empty()) target = SequenceTarget(std::move(list), delay);
      }
      if (!TargetSet(target)) {
        const JsonValue* to = el.Find(u"to");
        if (to && to->IsString()) {
          target = ResolveKeyName(to->string);
          if (!target.valid && report)
            report->Changed(file, path + ".to",
                            "target " + Quote(to->string) +
                                " is not a key or target name; the rule removes its source");
        } else if (report) {
          report->Changed(file, path, "no target; the rule removes its source");
        }
      }
      if (!ParseGlobalSource(src->string) && report)
        report->Changed(file, path + ".src",
                        "source " + Quote(src->string) +
                            " is not a key, mouse or pad button; "
                            "skipped");
      rules.push_back({src->string, std::move(target)});
    }
    return rules;
  }
  // The older form: a wheel file whose "map" steps are the rules.
  WheelList wheels;
  LoadWheelText(WideToUtf8(text), wheels, kCommandListFieldLimit, report, file);
  for (const auto& wheel : wheels)
    for (const auto& field : wheel.fields)
      for (const auto& step : field.steps)
        if (step.kind == StepKind::Map) rules.push_back({step.text, step.key});
  return rules;
}

bool ApplyGlobalRule(GlobalRuleTable& table, std::u16string_view src, const RuleTarget& target) {
  const auto id = ParseGlobalSource(src);
  if (!id) return false;
  if (TargetSet(target))
    table[*id] = target;
  else
    table.erase(*id);
  return true;
}

namespace {

// A string member as the light scanner reads it: the first `"name"`, the
// first colon after it, the first quote after that, up to the next quote;
// a backslash takes the next character literally.
std::u16string ScanMember(std::u16string_view chunk, std::u16string_view name) {
  const std::u16string quoted = u"\"" + std::u16string(name) + u"\"";
  auto at = chunk.find(quoted);
  if (at == std::u16string_view::npos) return {};
  at = chunk.find(u':', at + quoted.size());
  if (at == std::u16string_view::npos) return {};
  at = chunk.find(u'"', at + 1);
  if (at == std::u16string_view::npos) return {};
  std::u16string out;
  for (std::size_t i = at + 1; i < chunk.size(); ++i) {
    if (chunk[i] == u'\\') {
      if (++i < chunk.size()) out += chunk[i];
      continue;
    }
    if (chunk[i] == u'"') break;
    out += chunk[i];
  }
  return out;
}

// The bracketed text of the "steps" member, brackets included; empty when
// there is none or it never closes.
std::u16string_view ScanStepsArray(std::u16string_view chunk) {
  auto at = chunk.find(u"\"steps\"");
  if (at == std::u16string_view::npos) return {};
  at = chunk.find(u'[', at);
  if (at == std::u16string_view::npos) return {};
  int depth = 0;
  bool inString = false;
  for (std::size_t i = at; i < chunk.size(); ++i) {
    const char16_t c = chunk[i];
    if (inString) {
      if (c == u'\\')
        ++i;
      else if (c == u'"')
        inString = false;
    } else if (c == u'"') {
      inString = true;
    } else if (c == u'[') {
      ++depth;
    } else if (c == u']' && --depth == 0) {
      return chunk.substr(at, i - at + 1);
    }
  }
  return {};
}

}  // namespace

DeviceRuleList ReadDeviceRules(std::u16string_view text, LoadReport* report,
                               const std::string& file) {
  DeviceRuleList rules;
  constexpr std::u16string_view kDevice = u"\"device\"";
  std::size_t start = text.find(kDevice);
  for (int n = 0; start != std::u16string_view::npos; ++n) {
    const std::size_t next = text.find(kDevice, start + kDevice.size());
    const std::u16string_view chunk =
        text.substr(start, next == std::u16string_view::npos ? text.size() - start : next - start);
    start = next;
    const std::string path = "rule " + std::to_string(n + 1);

    DeviceRule rule;
    rule.device = NormalizeDeviceKey(ToLower(ScanMember(chunk, u"device")));
    const std::u16string src = ScanMember(chunk, u"src");
    const std::u16string to = ScanMember(chunk, u"to");
    if (const auto steps = ScanStepsArray(chunk); !steps.empty()) {
      JsonValue wrapped;
      if (ParseJsonDocument(u"{\"steps\":" + std::u16string(steps) + u"}", wrapped)) {
        if (const JsonValue* list = wrapped.Find(u"steps")) {
          std::vector<Step> parsed = ParseStepList(*list, report, file, path + " steps");
          if (!parsed.empty()) rule.target = SequenceTarget(std::move(parsed), 30);
        }
      } else if (report) {
        report->Changed(file, path, "\"steps\" is not valid JSON; \"to\" is used");
      }
    }
    if (!TargetSet(rule.target)) rule.target = ResolveKeyName(to);

    const auto source = ParseDeviceSource(src);
    if (!source || rule.device.empty() || !TargetSet(rule.target)) {
      if (report)
        report->Changed(file, path,
                        !source ? "source " + Quote(src) +
                                      " is not a device source; "
                                      "skipped"
                        : rule.device.empty()
                            ? std::string("no device; skipped")
                            : "target " + Quote(to) + " is not a key or target name; skipped");
      continue;
    }
    rule.kind = source->kind;
    rule.index = source->index;
    rule.gesture = source->gesture;
    rules.push_back(std::move(rule));
  }
  return rules;
}

const char16_t* MouseSourceName(std::uint32_t index) {
  return index < kMouseNames.size() ? kMouseNames[index].data() : nullptr;
}

std::u16string SourceName(SourceKind kind, std::uint32_t index) {
  switch (kind) {
    case SourceKind::Mouse:
      return index < kMouseNames.size() ? std::u16string(kMouseNames[index]) : std::u16string();
    case SourceKind::Pad:
      if (index >= 17 && index <= 24) return std::u16string(kStickNames[index - 17]);
      return u"btn" + Utf8ToWide(std::to_string(index));
    case SourceKind::Keyboard:
      break;
  }
  return {};
}

std::u16string DeviceDisplayName(SourceKind kind, std::u16string_view device) {
  std::u16string out = kind == SourceKind::Keyboard ? u"Klawiatura"
                       : kind == SourceKind::Mouse  ? u"Mysz"
                                                    : u"Pad";
  const std::u16string lower = ToLower(device);
  auto upper8 = [&](std::size_t at) {
    std::u16string part = lower.substr(at, 8);
    for (auto& c : part) c = ToUpperChar(c);
    return part;
  };
  if (auto vid = lower.find(u"vid_"); vid != std::u16string::npos) out += u"  " + upper8(vid);
  if (auto pid = lower.find(u"pid_"); pid != std::u16string::npos) out += u"&" + upper8(pid);
  return out;
}

const char* GestureWord(Gesture g) {
  switch (g) {
    case Gesture::Double:
      return "double";
    case Gesture::Hold:
      return "hold";
    case Gesture::Single:
      break;
  }
  return "single";
}

}  // namespace velmor::mapping
