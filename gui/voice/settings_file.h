#pragma once

// The GUI pages' access to the engine's settings file, config.json in the
// program directory.

#include <QJsonObject>

#include <functional>
#include <optional>

namespace velmor::gui {

// The root object of config.json; empty when the file is missing, unreadable
// or not a JSON object.
QJsonObject ReadSettingsFile();

// The root object of config.json for a change that writes it back: an empty
// object when the file is missing; nothing when it exists but cannot be
// read or is not a JSON object (writing then would replace the user's
// settings with only the caller's keys).
std::optional<QJsonObject> ReadSettingsForChange();

// Writes `settings` as config.json (indented, members in alphabetical
// order), atomically. False when it could not be written; the old file then
// stays as it was.
bool WriteSettingsFile(const QJsonObject& settings);

// One settings change: reads the file, lets `change` set the caller's keys,
// writes it back with every other key as it was, and asks the engine to
// reload. A missing file counts as empty and is created. Refused (false, the
// file untouched, no reload) when config.json exists but cannot be read as a
// JSON object: writing would replace the user's settings with only the
// caller's keys.
bool UpdateSettingsFile(const std::function<void(QJsonObject&)>& change);

}  // namespace velmor::gui
