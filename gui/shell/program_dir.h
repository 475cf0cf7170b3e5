#pragma once

#include <QString>

namespace velmor::gui {

// The program directory: the folder of the executable, where the user's
// configuration files, themes and translations live. Every page builds its
// paths from here, never from the current directory.
QString ProgramDir();
// The file `name` in the program directory.
QString ProgramFile(const QString& name);

// Tests point the GUI at a folder of their own.
void SetProgramDirForTesting(const QString& dir);

}  // namespace velmor::gui
