// Settings-file access of the GUI pages: a change keeps every key it does not
// own, never replaces a file it could not read, and writes a stable form.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/shell/program_dir.h"
#include "gui/voice/settings_file.h"

using velmor::gui::ReadSettingsFile;
using velmor::gui::UpdateSettingsFile;
using velmor::gui::WriteSettingsFile;

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace

class SettingsFileTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void changeKeepsOtherKeys();
  void missingFileIsCreated();
  void unreadableFileIsNeverReplaced_data();
  void unreadableFileIsNeverReplaced();
  void writtenFormIsIndentedAndSorted();

 private:
  QString ConfigPath() const { return dir_->filePath(QStringLiteral("config.json")); }
  std::unique_ptr<QTemporaryDir> dir_;
};

void SettingsFileTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  velmor::gui::SetProgramDirForTesting(dir_->path());
}

void SettingsFileTest::changeKeepsOtherKeys() {
  QVERIFY(WriteBytes(ConfigPath(), R"({
    "gazeDwell": 400,
    "language": "en",
    "nested": {"deeper": {"list": [1, "two", null, {"x": false}]}, "n": 1.5},
    "toggleKey": ["ctrl", "space"],
    "unknownFutureKey": true
  })"));
  const QJsonObject before = ReadSettingsFile();
  QCOMPARE(before.value(QLatin1String("language")).toString(), QStringLiteral("en"));

  QVERIFY(UpdateSettingsFile([](QJsonObject& s) {
    s.insert(QLatin1String("gazeDwell"), 0);
    s.insert(QLatin1String("gazeEnabled"), false);
  }));

  QJsonObject expected = before;
  expected.insert(QLatin1String("gazeDwell"), 0);
  expected.insert(QLatin1String("gazeEnabled"), false);
  QCOMPARE(ReadSettingsFile(), expected);
  QCOMPARE(QJsonDocument::fromJson(ReadBytes(ConfigPath())).object(), expected);
  // No temporary file is left beside it.
  QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{QStringLiteral("config.json")});
}

void SettingsFileTest::missingFileIsCreated() {
  QVERIFY(ReadSettingsFile().isEmpty());
  QVERIFY(UpdateSettingsFile([](QJsonObject& s) { s.insert(QLatin1String("gazeDwell"), 50); }));
  QCOMPARE(ReadBytes(ConfigPath()), QByteArray("{\n    \"gazeDwell\": 50\n}\n"));
}

void SettingsFileTest::unreadableFileIsNeverReplaced_data() {
  QTest::addColumn<QByteArray>("content");  // empty with folder: config.json is a folder
  QTest::addColumn<bool>("folder");
  QTest::newRow("malformed") << QByteArray("{\"language\": \"en\",\n") << false;
  QTest::newRow("array root") << QByteArray("[{\"language\": \"en\"}]") << false;
  QTest::newRow("string root") << QByteArray("\"language\"") << false;
  QTest::newRow("empty file") << QByteArray() << false;
  QTest::newRow("binary") << QByteArray("\x00\xff\xfe{", 4) << false;
  QTest::newRow("not a file") << QByteArray() << true;
}

void SettingsFileTest::unreadableFileIsNeverReplaced() {
  QFETCH(QByteArray, content);
  QFETCH(bool, folder);
  if (folder)
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("config.json")));
  else
    QVERIFY(WriteBytes(ConfigPath(), content));

  QVERIFY(ReadSettingsFile().isEmpty());
  bool called = false;
  QVERIFY(!UpdateSettingsFile([&](QJsonObject& s) {
    called = true;
    s.insert(QLatin1String("gazeDwell"), 0);
  }));
  QVERIFY(!called);
  if (folder) {
    QVERIFY(QFileInfo(ConfigPath()).isDir());
    QVERIFY(!WriteSettingsFile(QJsonObject{{QStringLiteral("a"), 1}}));
  } else {
    QCOMPARE(ReadBytes(ConfigPath()), content);
  }
  QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
           QStringList{QStringLiteral("config.json")});
}

void SettingsFileTest::writtenFormIsIndentedAndSorted() {
  QJsonObject settings;
  settings.insert(QLatin1String("zeta"), true);
  settings.insert(QLatin1String("alpha"), QJsonObject{{QStringLiteral("list"), QJsonArray{1, 2}},
                                                      {QStringLiteral("b"), QStringLiteral("ą")}});
  settings.insert(QLatin1String("gazeDwell"), 900);
  QVERIFY(WriteSettingsFile(settings));
  QCOMPARE(ReadBytes(ConfigPath()), QString::fromUtf16(u"{\n"
                                                       u"    \"alpha\": {\n"
                                                       u"        \"b\": \"ą\",\n"
                                                       u"        \"list\": [\n"
                                                       u"            1,\n"
                                                       u"            2\n"
                                                       u"        ]\n"
                                                       u"    },\n"
                                                       u"    \"gazeDwell\": 900,\n"
                                                       u"    \"zeta\": true\n"
                                                       u"}\n")
                                        .toUtf8());
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "settings_file_test.moc"
