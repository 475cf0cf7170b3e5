#pragma once

// Schemes: named copies of map.json and devmap.json under profiles, the
// marker of the scheme last saved or loaded, and the older per-device store
// that is only listed. Every path is built from a cleaned name, so nothing
// outside `profiles` is ever written or deleted.

#include <filesystem>
#include <string>
#include <vector>

namespace velmor::mapping {

// The cleaned name, or empty when nothing usable is left (also for names
// the file system keeps for devices, such as "con" or "lpt1").
std::u16string SchemeFolderName(std::u16string_view name);

// Copies the live files into profiles/<name>; a live file that does not
// exist removes the scheme's copy. False for an unusable name or when the
// scheme could not be written.
bool SaveScheme(const std::filesystem::path& dir, std::u16string_view name);

enum class SchemeLoad { NoSuchScheme, Loaded, Incomplete };
// Copies the scheme's files over the live ones (a copy that does not exist
// removes the live file). The caller reloads the rules afterwards. The
// live files are replaced atomically: a failed copy leaves the old file.
SchemeLoad CopySchemeToLive(const std::filesystem::path& dir, std::u16string_view name);

// Deletes the scheme's two files and its folder when nothing else is left;
// empties the marker when it names this scheme. False for an unusable name
// or when a file that exists could not be removed.
bool DeleteScheme(const std::filesystem::path& dir, std::u16string_view name);

// Subfolders of profiles in enumeration order, without names beginning
// with "_" or ".".
std::vector<std::u16string> ListSchemes(const std::filesystem::path& dir);

std::u16string ReadActiveScheme(const std::filesystem::path& dir);
bool WriteActiveScheme(const std::filesystem::path& dir, std::u16string_view name);

// The lines of the schemes folder: "folder|name\t[label] name".
std::u16string AllSchemesListing(const std::filesystem::path& dir);

}  // namespace velmor::mapping
