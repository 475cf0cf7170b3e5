#include "gui/shell/restart.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include "gui/shell/program_dir.h"

namespace velmor::gui {

bool StartRestartedProgram() {
  QProcess process;
  process.setProgram(QCoreApplication::applicationFilePath());
  process.setArguments({});
  process.setWorkingDirectory(ProgramDir());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromLatin1(kRestartedVariable), QStringLiteral("1"));
  process.setProcessEnvironment(env);
  return process.startDetached();
}

}  // namespace velmor::gui
