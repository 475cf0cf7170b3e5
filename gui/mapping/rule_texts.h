#pragma once

// Texts shared by every mapping screen: how a rule's source is named to the
// user.

#include <QString>

namespace velmor::gui {

// The user-facing name of a rule source ("lmb", "pad:a", "btn3", "f5", ...)
// for the device key ("global", "xac" or a device's own key). The source is
// compared trimmed and lower-cased.
QString SourceDisplayName(const QString& deviceKey, const QString& source);

}  // namespace velmor::gui
