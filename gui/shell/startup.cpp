#include "gui/shell/startup.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "gui/shell/program_dir.h"
#include "gui/voice/settings_file.h"

namespace velmor::gui {

bool AlignSettingsLanguage(const QString& language) {
  QFile file(ProgramFile(QStringLiteral("config.json")));
  QJsonObject settings;
  if (file.exists()) {
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    if (!doc.isObject()) return false;
    settings = doc.object();
  }
  const QJsonValue current = settings.value(QStringLiteral("language"));
  if (current.isString() && current.toString() == language) return false;
  settings.insert(QStringLiteral("language"), language);
  return WriteSettingsFile(settings);
}

}  // namespace velmor::gui
