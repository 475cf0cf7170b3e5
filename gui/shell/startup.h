#pragma once

#include <QString>

namespace velmor::gui {

// Brings config.json's "language" in line with the GUI language, so that
// the engine's messages and voice commands speak the interface's language.
// A file whose "language" already matches is not touched at all, nor is a
// file that exists but is not a JSON object: rewriting that would replace
// the user's settings with the one key. A missing file is created holding
// only "language". True when the file was written.
bool AlignSettingsLanguage(const QString& language);

}  // namespace velmor::gui
