// The velmor program: the GUI with the overlay engine in the same process.

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QSettings>
#include <QTranslator>

#include "engine/core/overlay_api.h"
#include "engine/platform/single_instance.h"
#include "gui/shell/languages.h"
#include "gui/shell/main_host.h"
#include "gui/shell/main_window.h"
#include "gui/shell/program_dir.h"
#include "gui/shell/restart.h"
#include "gui/shell/show_main_filter.h"
#include "gui/shell/startup.h"
#include "gui/shell/themes.h"

using namespace velmor;

int main(int argc, char** argv) {
  // Before any Qt object: a second copy must neither open a window nor start
  // an engine that would fight the first one over the hooks and the hotkey.
  const bool restarted = qEnvironmentVariableIsSet(gui::kRestartedVariable);
  if (restarted) qunsetenv(gui::kRestartedVariable);
  if (platform::ClaimSingleInstance(restarted ? gui::kRestartWaitMs : 0) ==
      platform::InstanceClaim::AlreadyRunning) {
    platform::RequestShowMainWindow();
    return 0;
  }

  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Velmor"));
  QCoreApplication::setApplicationName(QStringLiteral("Velmor"));
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(QIcon(gui::ProgramFile(QStringLiteral("velmor.ico"))));

  gui::ApplyTheme(QSettings(QStringLiteral("Velmor"), QStringLiteral("UI"))
                      .value(QStringLiteral("theme"), QStringLiteral("fluent"))
                      .toString());
  const QString language = gui::CurrentGuiLanguage();
  // One translator for the process's life: a new language needs a restart.
  QTranslator translator;
  if (gui::LoadTranslation(translator, language)) QCoreApplication::installTranslator(&translator);
  gui::AlignSettingsLanguage(language);
  QDir::setCurrent(gui::ProgramDir());

  // The account sign-in and the merge of the shipped voice commands go here,
  // before the engine reads its files.
  OverlayEngineStart();
  gui::AttachEngineToEventLoop(&app);

  auto* window = new gui::MainWindow;
  window->show();
  gui::ShowMainFilter filter(window, &platform::IsShowMainWindowMessage);
  app.installNativeEventFilter(&filter);
  gui::WatchShowRequests(&app, [window] { window->showFromTray(); });
  gui::QuitOnTerminationSignals(&app);
  // The updater is set up here.

  const int result = QApplication::exec();
  OverlayEngineStop();
  app.removeNativeEventFilter(&filter);
  delete window;
  return result;
}
