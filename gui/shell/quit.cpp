#include "gui/shell/quit.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace velmor::gui {

void QuitProgram() {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

}  // namespace velmor::gui
