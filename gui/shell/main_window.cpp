#include "gui/shell/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenu>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QVBoxLayout>

#include "engine/core/overlay_api.h"
#include "gui/shell/quit.h"
#include "gui/shell/settings_page.h"
#include "gui/shell/title_page.h"
#include "gui/voice/gaze_page.h"

namespace velmor::gui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(tr("Velmor"));
  resize(860, 560);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  tabs_ = new QTabBar(central);
  tabs_->setObjectName("TopTabs");
  tabs_->setAccessibleName(tr("Karty"));
  tabs_->setExpanding(false);
  tabs_->setDrawBase(true);
  stack_ = new QStackedWidget(central);
  layout->addWidget(tabs_);
  layout->addWidget(stack_, 1);
  setCentralWidget(central);

  const QString titles[PageCount] = {
      tr("Start"),     tr("Koła wyboru"),         tr("Komendy głosowe"),
      tr("Mapowanie"), tr("Sterowanie wzrokiem"), tr("Ustawienia")};
  for (const QString& t : titles) tabs_->addTab(t);
  tabs_->setCurrentIndex(StartTab);
  // Reached through the Start page; the wheel editor is also shown on request.
  tabs_->setTabVisible(WheelsTab, false);
  tabs_->setTabVisible(MappingTab, false);

  // The Start page comes first; its lock state (startLocked) is applied as
  // soon as it is built, before the other pages exist.
  addPage(new TitlePage(titles[StartTab]));
  addPage(new TitlePage(titles[WheelsTab]));
  addPage(new TitlePage(titles[VoiceTab]));
  addPage(new TitlePage(titles[MappingTab]));
  addPage(new GazePage);
  addPage(new SettingsPage);
  connect(tabs_, &QTabBar::currentChanged, stack_, &QStackedWidget::setCurrentIndex);

  // A tab bar of its own (not a QTabWidget) has no keyboard shortcut for the
  // next page; switch and voice users need one.
  auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  connect(next, &QShortcut::activated, this, [this] { stepTab(1); });
  auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this);
  connect(previous, &QShortcut::activated, this, [this] { stepTab(-1); });

  buildTray();
  // The Start page's status cards (every 1500 ms), preview slideshow (every
  // 4000 ms), process snapshot, default game profile and profile switch
  // check (every 3000 ms) start here with the Start page.
}

void MainWindow::addPage(QWidget* page) {
  // Large print and system text scaling make a page taller than the
  // window: it scrolls instead of pushing the window off the screen.
  auto* scroll = new QScrollArea(stack_);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(page);
  scroll->setAccessibleName(page->accessibleName());
  stack_->addWidget(scroll);
}

void MainWindow::buildTray() {
  tray_ = new QSystemTrayIcon(QApplication::windowIcon(), this);
  tray_->setToolTip(tr("Velmor"));
  auto* menu = new QMenu(this);
  menu->setAccessibleName(tr("Velmor"));
  connect(menu->addAction(tr("Pokaż koło")), &QAction::triggered, [] { OverlayToggleWheel(); });
  connect(menu->addAction(tr("Pokaż okno")), &QAction::triggered, this, &MainWindow::showFromTray);
  menu->addSeparator();
  connect(menu->addAction(tr("Zakończ")), &QAction::triggered, [] { QuitProgram(); });
  tray_->setContextMenu(menu);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (r == QSystemTrayIcon::DoubleClick) showFromTray();
  });
  tray_->show();
}

void MainWindow::showFromTray() {
  showNormal();
  raise();
  activateWindow();
}

void MainWindow::openInWheelEditor(const QString& path) {
  // The wheel editor loads `path` here once it exists.
  (void)path;
  // Through tab 0 first, so that the change signal fires even when the
  // editor was current already.
  tabs_->setCurrentIndex(StartTab);
  tabs_->setCurrentIndex(WheelsTab);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (tray_ && tray_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable()) {
    hide();
    event->ignore();
    return;
  }
  event->accept();
  // Without a tray host the icon and its "Zakończ" are nowhere to be seen:
  // a window closed then would leave the program running with no way to
  // end it, so closing it ends the program.
  if (tray_ && !QSystemTrayIcon::isSystemTrayAvailable()) QuitProgram();
}

void MainWindow::stepTab(int direction) {
  const int n = tabs_->count();
  for (int i = 1; i < n; ++i) {
    const int candidate = ((tabs_->currentIndex() + direction * i) % n + n) % n;
    if (tabs_->isTabVisible(candidate)) {
      tabs_->setCurrentIndex(candidate);
      return;
    }
  }
}

}  // namespace velmor::gui
