#include "engine/mapping/schemes.h"

#include <array>
#include <fstream>
#include <system_error>

#include "engine/core/atomic_file.h"
#include "engine/core/text.h"
#include "engine/mapping/map_rules.h"

namespace velmor::mapping {

namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, 2> kRuleFiles = {"map.json", "devmap.json"};

fs::path Profiles(const fs::path& dir) {
  return dir / "profiles";
}

fs::path SchemeDir(const fs::path& dir, const std::u16string& clean) {
  return Profiles(dir) / fs::path(clean);
}

bool IsReservedDeviceName(std::u16string_view name) {
  // A device name stays reserved with any extension ("con.txt").
  const std::u16string stem = ToLower(name.substr(0, name.find(u'.')));
  static constexpr std::array<std::u16string_view, 4> kPlain = {u"con", u"prn", u"aux", u"nul"};
  for (auto n : kPlain)
    if (stem == n) return true;
  if (stem.size() == 4 && (stem.rfind(u"com", 0) == 0 || stem.rfind(u"lpt", 0) == 0) &&
      stem[3] >= u'1' && stem[3] <= u'9')
    return true;
  return false;
}

std::optional<std::string> ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

// Copies `from` over `to`, or removes `to` when `from` does not exist.
// False when the target could not be brought to that state.
bool Mirror(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (!fs::exists(from, ec)) {
    fs::remove(to, ec);
    return !fs::exists(to, ec);
  }
  auto bytes = ReadBytes(from);
  return bytes && WriteFileAtomically(to, *bytes);
}

bool IsDirectory(const fs::directory_entry& e) {
  std::error_code ec;
  return e.is_directory(ec);
}

}  // namespace

std::u16string SchemeFolderName(std::u16string_view name) {
  std::u16string clean = SanitizeSchemeName(name);
  if (IsReservedDeviceName(clean)) return {};
  return clean;
}

bool SaveScheme(const fs::path& dir, std::u16string_view name) {
  const std::u16string clean = SchemeFolderName(name);
  if (clean.empty()) return false;
  const fs::path target = SchemeDir(dir, clean);
  std::error_code ec;
  fs::create_directories(target, ec);
  if (!fs::is_directory(target, ec)) return false;
  bool ok = true;
  for (const char* file : kRuleFiles) ok = Mirror(dir / file, target / file) && ok;
  return ok;
}

SchemeLoad CopySchemeToLive(const fs::path& dir, std::u16string_view name) {
  const std::u16string clean = SchemeFolderName(name);
  if (clean.empty()) return SchemeLoad::NoSuchScheme;
  const fs::path source = SchemeDir(dir, clean);
  std::error_code ec;
  if (!fs::is_directory(source, ec)) return SchemeLoad::NoSuchScheme;
  bool ok = true;
  for (const char* file : kRuleFiles) ok = Mirror(source / file, dir / file) && ok;
  return ok ? SchemeLoad::Loaded : SchemeLoad::Incomplete;
}

bool DeleteScheme(const fs::path& dir, std::u16string_view name) {
  const std::u16string clean = SchemeFolderName(name);
  if (clean.empty()) return false;
  const fs::path target = SchemeDir(dir, clean);
  std::error_code ec;
  bool ok = true;
  for (const char* file : kRuleFiles) {
    fs::remove(target / file, ec);
    if (fs::exists(target / file, ec)) ok = false;
  }
  fs::remove(target, ec);  // only when empty; other files keep the folder
  if (ReadActiveScheme(dir) == clean) ok = WriteActiveScheme(dir, u"") && ok;
  return ok;
}

std::vector<std::u16string> ListSchemes(const fs::path& dir) {
  std::vector<std::u16string> out;
  std::error_code ec;
  for (fs::directory_iterator it(Profiles(dir), ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsDirectory(*it)) continue;
    std::u16string n = it->path().filename().u16string();
    if (n.empty() || n[0] == u'_' || n[0] == u'.') continue;
    out.push_back(std::move(n));
  }
  return out;
}

std::u16string ReadActiveScheme(const fs::path& dir) {
  std::ifstream in(Profiles(dir) / "_active.txt", std::ios::binary);
  if (!in) return {};
  std::string bytes(511, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  std::u16string text = Utf8ToWide(bytes);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
    text.pop_back();
  return text;
}

bool WriteActiveScheme(const fs::path& dir, std::u16string_view name) {
  std::error_code ec;
  fs::create_directories(Profiles(dir), ec);
  return WriteFileAtomically(Profiles(dir) / "_active.txt", WideToUtf8(name));
}

std::u16string AllSchemesListing(const fs::path& dir) {
  std::u16string out;
  std::error_code ec;
  for (fs::directory_iterator it(dir / "schemes", ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsDirectory(*it)) continue;
    const std::u16string folder = it->path().filename().u16string();
    if (folder.empty() || folder[0] == u'.') continue;
    const std::u16string label = folder == u"global" ? u"Globalne"
                                 : folder == u"xac"  ? u"XAC"
                                                     : folder;
    std::error_code ec2;
    for (fs::directory_iterator f(it->path(), ec2), fend; !ec2 && f != fend; f.increment(ec2)) {
      const std::u16string file = f->path().filename().u16string();
      if (file.size() < 6 || ToLower(file.substr(file.size() - 5)) != u".json") continue;
      const std::u16string n = file.substr(0, file.size() - 5);
      if (n[0] == u'_') continue;
      if (!out.empty()) out += u'\n';
      out += folder + u"|" + n + u"\t[" + label + u"] " + n;
    }
  }
  return out;
}

}  // namespace velmor::mapping
