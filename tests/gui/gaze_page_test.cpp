// The gaze page: what it shows for a settings file, when it writes the two
// gaze keys (and that it keeps every other key), and that it can be driven
// by keyboard.

#include <QCheckBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include "engine/core/overlay_api.h"
#include "gui/shell/program_dir.h"
#include "gui/voice/gaze_page.h"

using velmor::gui::GazePage;

namespace {

const QByteArray kOtherKeys = R"({"language": "en", "nested": {"a": [1, {"b": null}]}})";

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace

class GazePageTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void showsTheFile_data();
  void showsTheFile();
  void dragSavesOnRelease();
  void keyboardStepsSave_data();
  void keyboardStepsSave();
  void checkBoxSaves();
  void reachableAndNamedForKeyboardAndScreenReaders();

 private:
  QString ConfigPath() const { return dir_->filePath(QStringLiteral("config.json")); }
  QJsonObject Saved() const { return QJsonDocument::fromJson(ReadBytes(ConfigPath())).object(); }
  // The other keys with the two gaze keys set.
  static QJsonObject OtherKeysWith(bool enabled, int dwell) {
    QJsonObject o = QJsonDocument::fromJson(kOtherKeys).object();
    o.insert(QLatin1String("gazeEnabled"), enabled);
    o.insert(QLatin1String("gazeDwell"), dwell);
    return o;
  }

  std::unique_ptr<QTemporaryDir> dir_;
};

void GazePageTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  velmor::gui::SetProgramDirForTesting(dir_->path());
}

void GazePageTest::showsTheFile_data() {
  QTest::addColumn<QByteArray>("config");  // empty: no file
  QTest::addColumn<bool>("checked");
  QTest::addColumn<int>("dwell");
  QTest::addColumn<QString>("label");

  QTest::newRow("no gaze keys") << kOtherKeys << true << 900 << QStringLiteral("900 ms");
  QTest::newRow("no file") << QByteArray() << true << 900 << QStringLiteral("900 ms");
  QTest::newRow("malformed file") << QByteArray("{\"gazeDwell\": 5") << true << 900
                                  << QStringLiteral("900 ms");
  QTest::newRow("both keys") << QByteArray(R"({"gazeEnabled": false, "gazeDwell": 1250})") << false
                             << 1250 << QStringLiteral("1250 ms");
  QTest::newRow("dwell off") << QByteArray(R"({"gazeDwell": 0})") << true << 0
                             << QString::fromUtf16(u"tylko kliknięcie");
  QTest::newRow("dwell above the range")
      << QByteArray(R"({"gazeDwell": 5000})") << true << 3000 << QStringLiteral("3000 ms");
}

void GazePageTest::showsTheFile() {
  QFETCH(QByteArray, config);
  QFETCH(bool, checked);
  QFETCH(int, dwell);
  QFETCH(QString, label);
  if (!config.isEmpty()) QVERIFY(WriteBytes(ConfigPath(), config));

  GazePage page;
  QCOMPARE(page.findChild<QCheckBox*>(QStringLiteral("gazeEnabled"))->isChecked(), checked);
  QCOMPARE(page.findChild<QSlider*>(QStringLiteral("gazeDwell"))->value(), dwell);
  QCOMPARE(page.findChild<QLabel*>(QStringLiteral("gazeDwellValue"))->text(), label);
  // The engine is not running here: no gaze thread, the "disabled" text.
  QCOMPARE(page.findChild<QLabel*>(QStringLiteral("gazeStatus"))->text(),
           QString::fromUtf16(u"wyłączony (gazeEnabled = false)"));
  // Showing writes nothing.
  QCOMPARE(QFile::exists(ConfigPath()), !config.isEmpty());
  if (!config.isEmpty()) QCOMPARE(ReadBytes(ConfigPath()), config);
}

void GazePageTest::dragSavesOnRelease() {
  QVERIFY(WriteBytes(ConfigPath(), kOtherKeys));
  GazePage page;
  auto* slider = page.findChild<QSlider*>(QStringLiteral("gazeDwell"));
  auto* label = page.findChild<QLabel*>(QStringLiteral("gazeDwellValue"));

  slider->setSliderDown(true);
  slider->setValue(400);
  slider->setValue(0);
  QCOMPARE(label->text(), QString::fromUtf16(u"tylko kliknięcie"));
  QCOMPARE(ReadBytes(ConfigPath()), kOtherKeys);  // nothing while dragging

  slider->setSliderDown(false);
  QCOMPARE(Saved(), OtherKeysWith(true, 0));
}

void GazePageTest::keyboardStepsSave_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("dwell");
  QTest::newRow("arrow right") << int(Qt::Key_Right) << 950;
  QTest::newRow("arrow left") << int(Qt::Key_Left) << 850;
  QTest::newRow("page up") << int(Qt::Key_PageUp) << 1000;
  QTest::newRow("home") << int(Qt::Key_Home) << 0;
}

void GazePageTest::keyboardStepsSave() {
  QFETCH(int, key);
  QFETCH(int, dwell);
  QVERIFY(WriteBytes(ConfigPath(), kOtherKeys));
  GazePage page;
  auto* slider = page.findChild<QSlider*>(QStringLiteral("gazeDwell"));
  QTest::keyClick(slider, static_cast<Qt::Key>(key));
  QCOMPARE(slider->value(), dwell);
  QCOMPARE(Saved(), OtherKeysWith(true, dwell));
}

void GazePageTest::checkBoxSaves() {
  QVERIFY(WriteBytes(ConfigPath(), kOtherKeys));
  GazePage page;
  auto* box = page.findChild<QCheckBox*>(QStringLiteral("gazeEnabled"));
  QTest::keyClick(box, Qt::Key_Space);
  QVERIFY(!box->isChecked());
  QCOMPARE(Saved(), OtherKeysWith(false, 900));
  box->click();
  QCOMPARE(Saved(), OtherKeysWith(true, 900));
}

void GazePageTest::reachableAndNamedForKeyboardAndScreenReaders() {
  GazePage page;
  auto* box = page.findChild<QCheckBox*>(QStringLiteral("gazeEnabled"));
  auto* slider = page.findChild<QSlider*>(QStringLiteral("gazeDwell"));
  QCOMPARE(box->accessibleName(),
           QString::fromUtf16(u"Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte"));
  QCOMPARE(slider->accessibleName(), QStringLiteral("Czas wyboru spojrzeniem (dwell)"));

  page.show();
  page.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&page));
  box->setFocus(Qt::TabFocusReason);
  QTRY_VERIFY(box->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QVERIFY(slider->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  QVERIFY(box->hasFocus());
}

QTEST_MAIN(GazePageTest)
#include "gaze_page_test.moc"
