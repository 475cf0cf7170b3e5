#include "gui/voice/settings_file.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

#include "engine/core/overlay_api.h"
#include "gui/shell/program_dir.h"

namespace velmor::gui {

namespace {

QString SettingsPath() {
  return ProgramFile(QStringLiteral("config.json"));
}

}  // namespace

std::optional<QJsonObject> ReadSettingsForChange() {
  QFile file(SettingsPath());
  if (!file.exists()) return QJsonObject();
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
  if (!doc.isObject()) return std::nullopt;
  return doc.object();
}

QJsonObject ReadSettingsFile() {
  return ReadSettingsForChange().value_or(QJsonObject());
}

bool WriteSettingsFile(const QJsonObject& settings) {
  // Written beside the file and renamed over it: the engine, which reads the
  // file on every reload, never sees half of it.
  QSaveFile file(SettingsPath());
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray text = QJsonDocument(settings).toJson(QJsonDocument::Indented);
  if (file.write(text) != text.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool UpdateSettingsFile(const std::function<void(QJsonObject&)>& change) {
  std::optional<QJsonObject> settings = ReadSettingsForChange();
  if (!settings) return false;
  change(*settings);
  if (!WriteSettingsFile(*settings)) return false;
  OverlayReloadConfig();
  return true;
}

}  // namespace velmor::gui
