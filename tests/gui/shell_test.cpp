// The frame of the program: start-up's settings-file alignment, the main
// window's tabs and pages, and the theme and language choosers.

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "gui/shell/main_window.h"
#include "gui/shell/program_dir.h"
#include "gui/shell/settings_page.h"
#include "gui/shell/show_main_filter.h"
#include "gui/shell/startup.h"
#include "gui/shell/themes.h"

using namespace velmor::gui;

// Stands in for the tray state, where the main window turns close requests
// into hiding.
class RefuseClose : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::Close) return false;
    e->ignore();
    return true;
  }
};

class ShellTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString config() const { return dir_.filePath("config.json"); }
  void write(const QByteArray& bytes) {
    QFile f(config());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }
  QByteArray read() {
    QFile f(config());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  static QSettings ui() { return QSettings(QStringLiteral("Velmor"), QStringLiteral("UI")); }

 private slots:
  void init() {
    SetProgramDirForTesting(dir_.path());
    QFile::remove(config());
    ui().clear();
  }

  void alignLanguage_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("after");  // empty: byte for byte as before
    // Matching language: not touched, odd spacing, BOM and all.
    QTest::newRow("matches") << QByteArray("\xEF\xBB\xBF{ \"language\":\"de\",  \"zz\": [1,2] }")
                             << "de" << false << QByteArray();
    QTest::newRow("differs") << QByteArray("{\"language\": \"pl\", \"gazeDwell\": 700}") << "pt"
                             << true << QByteArray();
    QTest::newRow("missing") << QByteArray() << "en" << true << QByteArray();
    // A file that is not an object keeps the user's text: nothing to lose.
    QTest::newRow("malformed") << QByteArray("{\"language\": \"pl\", \"gazeDwell\": ") << "en"
                               << false << QByteArray();
    QTest::newRow("array") << QByteArray("[1]") << "en" << false << QByteArray();
  }
  void alignLanguage() {
    QFETCH(QByteArray, before);
    QFETCH(QString, language);
    QFETCH(bool, written);
    if (!before.isEmpty()) write(before);
    QCOMPARE(AlignSettingsLanguage(language), written);
    if (!written) {
      QCOMPARE(read(), before.isEmpty() ? QByteArray("<missing>") : before);
      return;
    }
    const QJsonObject after = QJsonDocument::fromJson(read()).object();
    QCOMPARE(after.value("language").toString(), language);
    // Every other key stays.
    QJsonObject expected = QJsonDocument::fromJson(before).object();
    expected.insert("language", language);
    QCOMPARE(after, expected);
  }

  void tabsAndPages() {
    MainWindow w;
    QTabBar* tabs = w.tabBar();
    QCOMPARE(tabs->objectName(), QString("TopTabs"));
    const QStringList titles = {"Start",     "Koła wyboru",         "Komendy głosowe",
                                "Mapowanie", "Sterowanie wzrokiem", "Ustawienia"};
    QCOMPARE(tabs->count(), titles.size());
    for (int i = 0; i < titles.size(); ++i) QCOMPARE(tabs->tabText(i), titles[i]);
    QCOMPARE(w.pages()->count(), titles.size());
    QVERIFY(!tabs->isTabVisible(MainWindow::WheelsTab));
    QVERIFY(!tabs->isTabVisible(MainWindow::MappingTab));
    QCOMPARE(tabs->currentIndex(), 0);
    tabs->setCurrentIndex(MainWindow::GazeTab);
    QCOMPARE(w.pages()->currentIndex(), int(MainWindow::GazeTab));
    QCOMPARE(w.windowTitle(), QString("Velmor"));
    QCOMPARE(w.size(), QSize(860, 560));
  }

  // The hidden wheel editor is shown on request, also when it is current.
  void openInWheelEditor() {
    MainWindow w;
    QSignalSpy changed(w.tabBar(), &QTabBar::currentChanged);
    w.openInWheelEditor("x.json");
    QCOMPARE(w.pages()->currentIndex(), int(MainWindow::WheelsTab));
    changed.clear();
    w.openInWheelEditor("x.json");
    QCOMPARE(w.pages()->currentIndex(), int(MainWindow::WheelsTab));
    QCOMPARE(changed.count(), 2);  // away to Start and back
  }

  // Ctrl+Tab walks the visible tabs only, both ways, wrapping around.
  void keyboardTabSwitch() {
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QApplication::setActiveWindow(&w);
    QList<int> seen;
    for (int i = 0; i < 4; ++i) {
      QTest::keyClick(&w, Qt::Key_Tab, Qt::ControlModifier);
      seen << w.tabBar()->currentIndex();
    }
    QCOMPARE(seen, (QList<int>{2, 4, 5, 0}));
    QTest::keyClick(&w, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.tabBar()->currentIndex(), 5);
  }

  // The second start's message shows the hidden window; nothing else does,
  // and the message is never swallowed.
  void showMainFilter() {
    MainWindow w;
    int asked = 0;
    ShowMainFilter filter(&w, [&](const void* m) {
      ++asked;
      return m == &w;
    });
    int other = 0;
    qintptr result = 0;
    QVERIFY(!filter.nativeEventFilter("xcb_generic_event_t", &w, &result));
    QVERIFY(!filter.nativeEventFilter("windows_generic_MSG", &other, &result));
    QVERIFY(!w.isVisible());
    QCOMPARE(asked, 1);
    QVERIFY(!filter.nativeEventFilter("windows_generic_MSG", &w, &result));
    QVERIFY(w.isVisible());
  }

  // "Zakończ" ends the loop even while the window refuses to close, as it
  // does when it hides to the tray.
  void trayQuitEndsTheLoopDespiteTheWindow() {
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    RefuseClose refuse;
    w.installEventFilter(&refuse);
    QAction* quit = w.trayIcon()->contextMenu()->actions().constLast();
    QCOMPARE(quit->text(), QString("Zakończ"));
    QTimer::singleShot(0, quit, &QAction::trigger);
    // A loop that does not end is ended here with another code.
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    safety.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(w.isVisible());
  }

  void themeChooserAppliesAndStores() {
    ApplyTheme("fluent");
    ThemeChooser chooser;
    const auto buttons = chooser.buttons()->buttons();
    QCOMPARE(buttons.size(), 7);
    QVERIFY(chooser.buttons()->button(0)->isChecked());
    QSignalSpy changed(&chooser, &ThemeChooser::themeChanged);
    chooser.buttons()->button(4)->click();  // "Wysoki kontrast"
    QCOMPARE(chooser.buttons()->button(4)->text(), QString("Wysoki kontrast"));
    QCOMPARE(CurrentThemeKey(), QString("contrast"));
    QCOMPARE(ui().value("theme").toString(), QString("contrast"));
    QCOMPARE(changed.count(), 1);
    ApplyTheme("fluent");
  }

  // An unknown stored theme shows as fluent and stays stored as it was.
  void unknownThemeChecksFluent() {
    ui().setValue("theme", "dark");
    ApplyTheme(ui().value("theme").toString());
    ThemeChooser chooser;
    QVERIFY(chooser.buttons()->button(0)->isChecked());
    QCOMPARE(ui().value("theme").toString(), QString("dark"));
  }

  // Picking the language that is current already still stores it, writes
  // config.json and asks about the restart.
  void languageChooser() {
    write("{\"language\": \"pl\", \"segmentColor\": \"#102030\"}");
    ui().setValue("lang", "en");
    LanguageChooser chooser;
    QCOMPARE(chooser.combo()->currentText(), QString("English"));
    int asked = 0;
    bool answer = false;
    chooser.setRestartQuestion([&] {
      ++asked;
      return answer;
    });
    QSignalSpy restart(&chooser, &LanguageChooser::restartRequested);
    emit chooser.combo()->activated(chooser.combo()->currentIndex());
    QCOMPARE(asked, 1);
    QCOMPARE(restart.count(), 0);
    const QJsonObject s = QJsonDocument::fromJson(read()).object();
    QCOMPARE(s.value("language").toString(), QString("en"));
    QCOMPARE(s.value("segmentColor").toString(), QString("#102030"));
    answer = true;
    const int german = chooser.combo()->findData("de");
    QVERIFY(german > 0);
    emit chooser.combo()->activated(german);
    QCOMPARE(restart.count(), 1);
    QCOMPARE(ui().value("lang").toString(), QString("de"));
  }

  // The order of the chooser is the language table's, first entry Polish;
  // an unknown system language (lang unset) shows "Polski".
  void languageChooserFallback() {
    ui().remove("lang");
    LanguageChooser chooser;
    QCOMPARE(chooser.combo()->count(), 11);
    QCOMPARE(chooser.combo()->currentText(), QString("Polski"));
    QCOMPARE(chooser.combo()->itemData(0).toString(), QString("pl"));
    QCOMPARE(chooser.combo()->itemData(8).toString(), QString("zh_CN"));
  }
};

int main(int argc, char** argv) {
  // Preferences of the test's own, never the user's.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  // A system language without a translation: the choosers fall back to Polish.
  qputenv("LC_ALL", "pt_BR.UTF-8");
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName("Velmor");
  QCoreApplication::setApplicationName("Velmor");
  ShellTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "shell_test.moc"
