#include "gui/shell/program_dir.h"

#include <QCoreApplication>
#include <QDir>

namespace velmor::gui {

namespace {
QString& Override() {
  static QString dir;
  return dir;
}
}  // namespace

QString ProgramDir() {
  if (!Override().isEmpty()) return Override();
  return QCoreApplication::applicationDirPath();
}

QString ProgramFile(const QString& name) {
  return QDir(ProgramDir()).filePath(name);
}

void SetProgramDirForTesting(const QString& dir) {
  Override() = dir;
}

}  // namespace velmor::gui
