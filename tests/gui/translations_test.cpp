// The built translations: each language's file loads from the program's
// translations folder and turns the window's Polish texts into its own.

#include <QApplication>
#include <QTabBar>
#include <QTranslator>
#include <QtTest>

#include "gui/shell/languages.h"
#include "gui/shell/main_window.h"
#include "gui/wheels/wheel_file_model.h"

using namespace velmor::gui;

class TranslationsTest : public QObject {
  Q_OBJECT

 private slots:
  void everyLanguageLoads() {
    const QString dir = QStringLiteral(VELMOR_PROGRAM_DIR "/translations");
    for (const Language& l : Languages()) {
      QTranslator t;
      const bool loaded = LoadTranslation(t, l.code, dir);
      // Polish is the program's own language and has no file.
      QCOMPARE(loaded, l.code != QLatin1String("pl"));
      if (!loaded) continue;
      const QString settings = t.translate("velmor::gui::MainWindow", "Ustawienia");
      QVERIFY2(!settings.isEmpty() && settings != QLatin1String("Ustawienia"), qPrintable(l.code));
    }
  }

  // English end to end: the installed translator reaches the window and the
  // wheel model's messages.
  void englishWindow() {
    QTranslator t;
    QVERIFY(LoadTranslation(t, "en", QStringLiteral(VELMOR_PROGRAM_DIR "/translations")));
    QVERIFY(QCoreApplication::installTranslator(&t));
    {
      MainWindow w;
      QStringList titles;
      for (int i = 0; i < w.tabBar()->count(); ++i) titles << w.tabBar()->tabText(i);
      QCOMPARE(titles, (QStringList{"Start", "Selection wheels", "Voice commands", "Mapping",
                                    "Eye control", "Settings"}));
      WheelFileModel model;
      QString error;
      QVERIFY(!model.Load("/nonexistent/wheel.json", &error));
      QCOMPARE(error, QString("Cannot open the file /nonexistent/wheel.json"));
    }
    QCoreApplication::removeTranslator(&t);
  }
};

QTEST_MAIN(TranslationsTest)
#include "translations_test.moc"
