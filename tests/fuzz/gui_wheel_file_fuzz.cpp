// The GUI's wheel-file model on arbitrary bytes: a file it accepts always
// gives at least one wheel, and what it writes reads back to the same text,
// so saving twice never drifts.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

#include "gui/wheels/wheel_file_model.h"

namespace {
void Require(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir dir;
  Require(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("wheel.json"));

  velmor::gui::WheelFileModel model;
  QString error;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (!model.LoadFromBytes(bytes, QStringLiteral("fuzz.json"), &error)) {
    Require(!error.isEmpty() && model.wheels.isEmpty());
    return 0;
  }
  Require(!model.wheels.isEmpty());
  for (const auto& wheel : model.wheels)
    for (const auto& field : wheel.fields)
      for (const auto& step : field.steps) {
        Require(!velmor::gui::StepDisplayText(step).isEmpty());
        if (step.kind == velmor::gui::StepKind::Click)
          Require(step.count >= 1 && step.count <= 100);
        if (step.kind == velmor::gui::StepKind::Wait)
          Require(step.count >= 0 && step.count <= 60000);
      }

  const QByteArray written = model.ToJson();
  model.path = path;
  Require(model.Save(&error));
  velmor::gui::WheelFileModel again;
  Require(again.Load(path, &error));
  Require(again.wheelsForm == model.wheelsForm);
  Require(again.wheels.size() == model.wheels.size());
  Require(again.ToJson() == written);
  return 0;
}
