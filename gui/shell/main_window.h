#pragma once

#include <QMainWindow>

class QStackedWidget;
class QSystemTrayIcon;
class QTabBar;

namespace velmor::gui {

// The program's window: the top tab bar over the stacked pages, and the tray
// icon that keeps the program reachable while the window is hidden.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // The tab (and page) indices.
  enum Page : int {
    StartTab = 0,
    WheelsTab,
    VoiceTab,
    MappingTab,
    GazeTab,
    SettingsTab,
    PageCount
  };

  explicit MainWindow(QWidget* parent = nullptr);

  QTabBar* tabBar() const { return tabs_; }
  QStackedWidget* pages() const { return stack_; }
  QSystemTrayIcon* trayIcon() const { return tray_; }

 public slots:
  // "Pokaż okno": out of the tray (or from behind other windows) to the front.
  void showFromTray();
  // The voice page's request to edit a wheel file: the wheel editor page is
  // shown even though its tab is hidden, and even when it is current already.
  void openInWheelEditor(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void addPage(QWidget* page);
  void buildTray();
  void stepTab(int direction);

  QTabBar* tabs_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QSystemTrayIcon* tray_ = nullptr;
};

}  // namespace velmor::gui
