#include "gui/shell/startup.h"

#include <QJsonObject>

#include "gui/voice/settings_file.h"

namespace velmor::gui {

bool AlignSettingsLanguage(const QString& language) {
  std::optional<QJsonObject> settings = ReadSettingsForChange();
  if (!settings) return false;
  const QJsonValue current = settings->value(QStringLiteral("language"));
  if (current.isString() && current.toString() == language) return false;
  settings->insert(QStringLiteral("language"), language);
  return WriteSettingsFile(*settings);
}

}  // namespace velmor::gui
