#pragma once

// The GUI's own model of a wheel file: read, edited in memory by the pages
// that hold a copy, and written back in a normalised form. A plain value
// type; each holder keeps its own "modified" flag.

#include <QByteArray>
#include <QColor>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace velmor::gui {

// The number is also the row of the kind in the step editor's kind list.
enum class StepKind : int {
  Click = 0,
  Hold = 1,
  Release = 2,
  Open = 3,
  Toggle = 4,
  ReadSelection = 5,
  ReleaseAll = 6,
  Call = 7,
  SwitchWheel = 8,
  MapRule = 9,
  SwitchScheme = 10,
  Wait = 11,
  Remap = 12,
};

inline constexpr int kStepKindCount = 13;

struct StepModel {
  StepKind kind = StepKind::Click;
  QString key;       // key, button or target name
  int count = 1;     // repeat count, hold or wait milliseconds
  QString argument;  // program or address, number, wheel, scheme or rule source
  bool operator==(const StepModel&) const = default;
};

struct FieldModel {
  QString name;
  QString voice;
  QString icon;   // relative to the program directory
  QColor colour;  // invalid: the theme's colour
  int delay = 30;
  QList<StepModel> steps;
  bool operator==(const FieldModel&) const = default;
};

struct WheelModel {
  QString name;
  QList<FieldModel> fields;
  bool operator==(const WheelModel&) const = default;
};

struct WheelFileModel {
  QString path;
  bool wheelsForm = true;  // top-level "wheels"; false: top-level "actions"
  QList<WheelModel> wheels;

  // On failure `error` is set and the model must be discarded.
  bool Load(const QString& path, QString* error);
  // The same for a file's content already in memory; `path` is kept as the
  // model's path.
  bool LoadFromBytes(const QByteArray& bytes, const QString& path, QString* error);
  // Writes the model to its path; on failure the file is left as it was.
  bool Save(QString* error) const;
  // The text Save writes.
  QByteArray ToJson() const;
};

FieldModel FieldFromJson(const QJsonObject& object);
QJsonObject FieldToJson(const FieldModel& field);
StepModel StepFromJson(const QJsonObject& object);
QJsonObject StepToJson(const StepModel& step);

// The one-line text every step list shows. Not translated.
QString StepDisplayText(const StepModel& step);
// The label of a kind in the step editor's kind list.
QString StepKindLabel(StepKind kind);

}  // namespace velmor::gui
