// The GUI's wheel-file model: reading every accepted form, the display
// texts, the normalised output, a refused save, and agreement with the
// engine's own reader on the same files.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <tuple>

#include "engine/core/wheel_file.h"
#include "gui/wheels/wheel_file_model.h"

using velmor::gui::FieldModel;
using velmor::gui::StepDisplayText;
using velmor::gui::StepKind;
using velmor::gui::StepKindLabel;
using velmor::gui::StepModel;
using velmor::gui::WheelFileModel;

Q_DECLARE_METATYPE(StepKind)

// Declared before the fixtures: moc does not follow raw string literals.
class WheelFileModelTest : public QObject {
  Q_OBJECT

 private slots:
  void loads_data();
  void loads();
  void refusesToLoad_data();
  void refusesToLoad();
  void displayTexts_data();
  void displayTexts();
  void kindLabelsFollowTheKindNumbers();
  void stepJson_data();
  void stepJson();
  void savedText_data();
  void savedText();
  void saveFailureLeavesFileAndModel_data();
  void saveFailureLeavesFileAndModel();
  void engineReadsTheSameSteps();
};

namespace {

QString U(const char16_t* s) {
  return QString::fromUtf16(s);
}

// One line per wheel ("name:" then its fields), each field as
// "name d<delay> c<colour or -> [step display texts]".
QString Dump(const WheelFileModel& m) {
  QStringList wheels;
  for (const auto& w : m.wheels) {
    QStringList fields;
    for (const FieldModel& f : w.fields) {
      QStringList steps;
      for (const StepModel& s : f.steps) steps << StepDisplayText(s);
      fields << QStringLiteral("%1 d%2 c%3 [%4]")
                    .arg(f.name)
                    .arg(f.delay)
                    .arg(f.colour.isValid() ? f.colour.name().toUpper() : QStringLiteral("-"))
                    .arg(steps.join(QLatin1String(" | ")));
    }
    wheels << w.name + QLatin1Char(':') + fields.join(QLatin1String(" ; "));
  }
  return wheels.join(QLatin1Char('\n'));
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What both readers agree a step is: the kind's number (the engine numbers
// kinds 0..11 the same way) and only the members that kind uses.
using Comparable = std::tuple<int, QString, int, QString>;

Comparable Normalised(int kind, const QString& key, int count, const QString& argument) {
  const bool usesKey = kind == 0 || kind == 1 || kind == 2 || kind == 4 || kind == 9;
  const bool usesCount = kind == 0 || kind == 1 || kind == 11;
  const bool usesArgument = kind == 3 || kind == 7 || kind == 8 || kind == 9 || kind == 10;
  return {kind, usesKey ? key : QString(), usesCount ? count : 0,
          usesArgument ? argument : QString()};
}

// Wheel name, field name, delay, colour and steps of every field.
using FieldSummary = std::tuple<QString, QString, int, QString, QList<Comparable>>;

QList<FieldSummary> FromModel(const WheelFileModel& m) {
  QList<FieldSummary> out;
  for (const auto& w : m.wheels)
    for (const FieldModel& f : w.fields) {
      QList<Comparable> steps;
      for (const StepModel& s : f.steps) {
        // Remap is the GUI's own kind (rule sequences); the engine's wheel
        // reader has no such step and drops it.
        if (s.kind == StepKind::Remap) continue;
        steps << Normalised(static_cast<int>(s.kind), s.key, s.count, s.argument);
      }
      out << FieldSummary{w.name, f.name, f.delay,
                          f.colour.isValid() ? f.colour.name().toUpper() : QString(), steps};
    }
  return out;
}

QList<FieldSummary> FromEngine(const velmor::WheelList& list) {
  QList<FieldSummary> out;
  for (const auto& w : list)
    for (const auto& f : w.fields) {
      QList<Comparable> steps;
      for (const auto& s : f.steps)
        steps << Normalised(static_cast<int>(s.kind), QString::fromStdU16String(s.key.name),
                            s.value, QString::fromStdU16String(s.text));
      const QString colour =
          f.hasColor ? QColor(f.color.r, f.color.g, f.color.b).name().toUpper() : QString();
      out << FieldSummary{QString::fromStdU16String(w.name), QString::fromStdU16String(f.name),
                          f.delay, colour, steps};
    }
  return out;
}

// Every step kind, Polish and English action words, the older key form.
const char kEveryKind[] = R"({
  "wheels": [
    { "name": "Pierwsze", "actions": [
      { "name": "Wszystko", "delay": 50, "color": "#112233", "steps": [
        { "key": "a", "action": "click", "value": 3 },
        { "key": "shift", "action": "hold", "value": 500 },
        { "key": "shift", "action": "release" },
        { "open": "https://example.org/" },
        { "key": "ctrl", "action": "toggle" },
        { "action": "readsel" },
        { "action": "releaseall" },
        { "call": "+48123456789" },
        { "wheel": "Drugie" },
        { "map": "lmb", "to": "f5" },
        { "profile": "gra" },
        { "wait": 250 },
        { "remap": "space" },
        { "key": "alt", "action": "przytrzymaj" },
        { "key": "alt", "action": "puść" },
        { "key": "tab" }
      ] }
    ] },
    { "name": "Drugie", "actions": [
      { "name": "Stare", "keys": ["1", "f2"] },
      { "name": "Pusty", "steps": [] }
    ] }
  ]
})";

}  // namespace

void WheelFileModelTest::loads_data() {
  QTest::addColumn<QByteArray>("json");
  QTest::addColumn<bool>("wheelsForm");
  QTest::addColumn<QString>("dump");

  QTest::newRow("empty wheels list gives Koło 1")
      << QByteArray(R"({"wheels": []})") << true << U(u"Koło 1:");
  QTest::newRow("actions form, key f5")
      << QByteArray(R"({"actions": [{"name": "A", "key": "f5"}]})") << false
      << U(u":A d30 c- [klik:  f5]");
  QTest::newRow("keys array: empty text dropped, number in decimal")
      << QByteArray(R"({"actions": [{"keys": ["ctrl+c", "", 65, true, 1.5]}]})") << false
      << U(u": d30 c- [klik:  ctrl+c | klik:  65]");
  QTest::newRow("single key number, key array")
      << QByteArray(R"({"actions": [{"keys": 5}, {"key": ["q", "w"]}]})") << false
      << U(u": d30 c- [klik:  5] ;  d30 c- [klik:  q | klik:  w]");
  QTest::newRow("steps win over keys")
      << QByteArray(R"({"actions": [{"steps": [{"key": "x"}], "keys": ["y"]}]})") << false
      << U(u": d30 c- [klik:  x]");
  QTest::newRow("steps not an array falls back to keys")
      << QByteArray(R"({"actions": [{"steps": 3, "keys": ["y"]}]})") << false
      << U(u": d30 c- [klik:  y]");
  QTest::newRow("click counts clamped, wait clamped")
      << QByteArray(R"({"actions": [{"steps": [
           {"key": "x", "action": "click", "value": 250}, {"key": "x", "value": 0},
           {"key": "x", "value": "many"}, {"key": "x", "value": 2.5},
           {"wait": 99999}, {"wait": -5}, {"wait": "soon"}]}]})")
      << false
      << U(u": d30 c- [klik ×100:  x | klik:  x | klik:  x | klik:  x | czekaj:  60000 ms | "
           u"czekaj:  0 ms | czekaj:  0 ms]");
  QTest::newRow("hold without value keeps the key held, hold not clamped")
      << QByteArray(R"({"actions": [{"steps": [{"key": "alt", "action": "hold"},
           {"key": "alt", "action": "przytrzymaj", "value": 90000}]}]})")
      << false << U(u": d30 c- [przytrzymaj (bez puszczania):  alt | przytrzymaj 90000 ms:  alt]");
  QTest::newRow("first deciding member wins")
      << QByteArray(R"({"actions": [{"steps": [{"call": "1", "open": "notepad"},
           {"wait": 5, "map": "lmb", "to": "f5"}, {"remap": "x", "key": "y"},
           {"profile": "p", "wheel": "w"}]}]})")
      << false
      << U(u": d30 c- [otwórz:  notepad | reguła:  Lewy przycisk → f5 | mapowanie →  x | "
           u"zmień koło:  w]");
  QTest::newRow("action words exact and case-sensitive")
      << QByteArray(R"({"actions": [{"steps": [
           {"key": "a", "action": "pusc"}, {"key": "a", "action": "przełącz"},
           {"action": "przeczytaj"}, {"action": "puść wszystko"}, {"action": "puscwszystko"},
           {"key": "a", "action": "Hold"}, {"key": "a", "action": "tap"}, {"key": 7, "action": 1}]}]})")
      << false
      << U(u": d30 c- [puść:  a | przełącz:  a | przeczytaj zaznaczenie | puść wszystko | "
           u"puść wszystko | klik:  a | klik:  a | klik:  7]");
  QTest::newRow("delay: missing, negative kept, not a number")
      << QByteArray(R"({"actions": [{"name": "m"}, {"name": "n", "delay": -10},
           {"name": "s", "delay": "x"}, {"name": "f", "delay": 1.5}, {"name": "z", "delay": 0}]})")
      << false << U(u":m d30 c- [] ; n d-10 c- [] ; s d30 c- [] ; f d30 c- [] ; z d0 c- []");
  QTest::newRow("colours")
      << QByteArray(R"({"actions": [{"name": "a", "color": "#00ff00"},
           {"name": "b", "color": "green"}, {"name": "c", "color": "#f00"},
           {"name": "d", "color": "nonsense"}, {"name": "e", "color": ""},
           {"name": "f", "color": 255}]})")
      << false
      << U(u":a d30 c#00FF00 [] ; b d30 c#008000 [] ; c d30 c#FF0000 [] ; d d30 c- [] ; "
           u"e d30 c- [] ; f d30 c- []");
  QTest::newRow("wheel elements that are not objects are empty wheels")
      << QByteArray(R"({"wheels": ["x", {"name": "B", "actions": [{"name": "b"}]}, {"name": 3}]})")
      << true << U(u":\nB:b d30 c- []\n:");
  QTest::newRow("field that is not an object")
      << QByteArray(R"({"actions": [7, "text", {"name": "ok"}]})") << false
      << U(u": d30 c- [] ;  d30 c- [] ; ok d30 c- []");
  QTest::newRow("wheels not an array: actions used")
      << QByteArray(R"({"wheels": {}, "actions": [{"name": "a"}]})") << false << U(u":a d30 c- []");
  QTest::newRow("byte-order mark")
      << QByteArray("\xEF\xBB\xBF{\"actions\": []}") << false << U(u":");
}

void WheelFileModelTest::loads() {
  QFETCH(QByteArray, json);
  QFETCH(bool, wheelsForm);
  QFETCH(QString, dump);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("w.json"));
  QVERIFY(WriteFile(path, json));
  WheelFileModel m;
  QString error;
  QVERIFY2(m.Load(path, &error), qPrintable(error));
  QCOMPARE(m.path, path);
  QCOMPARE(m.wheelsForm, wheelsForm);
  QCOMPARE(Dump(m), dump);
}

void WheelFileModelTest::refusesToLoad_data() {
  QTest::addColumn<QByteArray>("json");  // empty: no file at all
  QTest::addColumn<QString>("errorStart");

  QTest::newRow("missing file") << QByteArray() << U(u"Nie można otworzyć pliku ");
  QTest::newRow("malformed") << QByteArray(R"({"actions": [)") << U(u"Błąd JSON: ");
  QTest::newRow("top-level array") << QByteArray(R"([{"name": "a"}])") << U(u"Błąd JSON: ");
  QTest::newRow("neither form") << QByteArray(R"({"fields": []})")
                                << U(u"Plik nie zawiera \"wheels\" ani \"actions\"");
  QTest::newRow("actions not an array")
      << QByteArray(R"({"actions": {}})") << U(u"Plik nie zawiera \"wheels\" ani \"actions\"");
}

void WheelFileModelTest::refusesToLoad() {
  QFETCH(QByteArray, json);
  QFETCH(QString, errorStart);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("w.json"));
  if (!json.isEmpty()) QVERIFY(WriteFile(path, json));
  WheelFileModel m;
  m.path = QStringLiteral("before");
  QString error;
  QVERIFY(!m.Load(path, &error));
  QVERIFY2(error.startsWith(errorStart), qPrintable(error));
  if (json.isEmpty()) QCOMPARE(error, errorStart + path);
  // The caller discards the model, but nothing half-read is left in it.
  QCOMPARE(m.path, QStringLiteral("before"));
  QVERIFY(m.wheels.isEmpty());
}

void WheelFileModelTest::displayTexts_data() {
  QTest::addColumn<StepKind>("kind");
  QTest::addColumn<QString>("key");
  QTest::addColumn<int>("count");
  QTest::addColumn<QString>("argument");
  QTest::addColumn<QString>("text");

  const QString none;
  QTest::newRow("click once") << StepKind::Click << "f5" << 1 << none << U(u"klik:  f5");
  QTest::newRow("click 0") << StepKind::Click << "f5" << 0 << none << U(u"klik:  f5");
  QTest::newRow("click 2") << StepKind::Click << "f5" << 2 << none << U(u"klik ×2:  f5");
  QTest::newRow("hold 0") << StepKind::Hold << "alt" << 0 << none
                          << U(u"przytrzymaj (bez puszczania):  alt");
  QTest::newRow("hold -1") << StepKind::Hold << "alt" << -1 << none
                           << U(u"przytrzymaj (bez puszczania):  alt");
  QTest::newRow("hold 500") << StepKind::Hold << "alt" << 500 << none
                            << U(u"przytrzymaj 500 ms:  alt");
  QTest::newRow("release") << StepKind::Release << "alt" << 1 << none << U(u"puść:  alt");
  QTest::newRow("open") << StepKind::Open << none << 1 << "notepad.exe"
                        << U(u"otwórz:  notepad.exe");
  QTest::newRow("toggle") << StepKind::Toggle << "shift" << 1 << none << U(u"przełącz:  shift");
  QTest::newRow("read selection") << StepKind::ReadSelection << "x" << 1 << "y"
                                  << U(u"przeczytaj zaznaczenie");
  QTest::newRow("release all") << StepKind::ReleaseAll << none << 1 << none << U(u"puść wszystko");
  QTest::newRow("call") << StepKind::Call << none << 1 << "+48 600" << U(u"zadzwoń:  +48 600");
  QTest::newRow("wheel") << StepKind::SwitchWheel << none << 1 << "Gry" << U(u"zmień koło:  Gry");
  QTest::newRow("map mouse") << StepKind::MapRule << "f5" << 1 << "lmb"
                             << U(u"reguła:  Lewy przycisk → f5");
  QTest::newRow("map removes") << StepKind::MapRule << none << 1 << "mb4"
                               << U(u"reguła:  Przycisk boczny 4 → (usuń)");
  QTest::newRow("map pad") << StepKind::MapRule << "space" << 1 << " PAD:Back "
                           << U(u"reguła:  View → space");
  QTest::newRow("map unknown pad")
      << StepKind::MapRule << "x" << 1 << "pad:guide" << U(u"reguła:  GUIDE → x");
  QTest::newRow("map numbered button, not xac")
      << StepKind::MapRule << "x" << 1 << "btn3" << U(u"reguła:  Przycisk 3 → x");
  QTest::newRow("map stick") << StepKind::MapRule << "x" << 1 << "lsu"
                             << U(u"reguła:  Lewa gałka góra → x");
  QTest::newRow("map key table") << StepKind::MapRule << "x" << 1 << "PageDown"
                                 << U(u"reguła:  Page Down → x");
  QTest::newRow("map other key") << StepKind::MapRule << "x" << 1 << "f13"
                                 << U(u"reguła:  F13 → x");
  QTest::newRow("map btn without number")
      << StepKind::MapRule << "x" << 1 << "btnx" << U(u"reguła:  BTNX → x");
  QTest::newRow("scheme") << StepKind::SwitchScheme << none << 1 << "gra"
                          << U(u"zmień schemat mapowania:  gra");
  QTest::newRow("wait") << StepKind::Wait << none << 250 << none << U(u"czekaj:  250 ms");
  QTest::newRow("remap") << StepKind::Remap << "vpad:a" << 1 << none << U(u"mapowanie →  vpad:a");
}

void WheelFileModelTest::displayTexts() {
  QFETCH(StepKind, kind);
  QFETCH(QString, key);
  QFETCH(int, count);
  QFETCH(QString, argument);
  QFETCH(QString, text);
  QCOMPARE(StepDisplayText(StepModel{kind, key, count, argument}), text);
}

void WheelFileModelTest::kindLabelsFollowTheKindNumbers() {
  const QStringList labels = {U(u"klik"),
                              U(u"przytrzymaj"),
                              U(u"puść"),
                              U(u"otwórz"),
                              U(u"przełącz"),
                              U(u"przeczytaj zaznaczenie"),
                              U(u"puść wszystko"),
                              U(u"zadzwoń pod numer (telefon)"),
                              U(u"zmień koło"),
                              U(u"pojedyncza reguła (przycisk → cel)"),
                              U(u"zmień schemat mapowania"),
                              U(u"czekaj"),
                              U(u"mapowanie (zamień przycisk na…)")};
  QCOMPARE(labels.size(), velmor::gui::kStepKindCount);
  for (int i = 0; i < labels.size(); ++i)
    QCOMPARE(StepKindLabel(static_cast<StepKind>(i)), labels[i]);
}

void WheelFileModelTest::stepJson_data() {
  QTest::addColumn<StepKind>("kind");
  QTest::addColumn<QByteArray>("json");  // compact, as written

  const auto row = [](const char* name, StepKind kind, const char* json) {
    QTest::newRow(name) << kind << QByteArray(json);
  };
  row("click", StepKind::Click, R"({"action":"click","key":"k","value":4})");
  row("hold", StepKind::Hold, R"({"action":"hold","key":"k","value":4})");
  row("release", StepKind::Release, R"({"action":"release","key":"k"})");
  row("open", StepKind::Open, R"({"open":"arg"})");
  row("toggle", StepKind::Toggle, R"({"action":"toggle","key":"k"})");
  row("read selection", StepKind::ReadSelection, R"({"action":"readsel"})");
  row("release all", StepKind::ReleaseAll, R"({"action":"releaseall"})");
  row("call", StepKind::Call, R"({"call":"arg"})");
  row("wheel", StepKind::SwitchWheel, R"({"wheel":"arg"})");
  row("map", StepKind::MapRule, R"({"map":"arg","to":"k"})");
  row("scheme", StepKind::SwitchScheme, R"({"profile":"arg"})");
  row("wait", StepKind::Wait, R"({"wait":4})");
  row("remap", StepKind::Remap, R"({"remap":"k"})");
}

void WheelFileModelTest::stepJson() {
  QFETCH(StepKind, kind);
  QFETCH(QByteArray, json);
  const StepModel step{kind, QStringLiteral("k"), 4, QStringLiteral("arg")};
  const QJsonObject written = velmor::gui::StepToJson(step);
  QCOMPARE(QJsonDocument(written).toJson(QJsonDocument::Compact), json);
  // Read back, the members the kind uses survive.
  const StepModel back = velmor::gui::StepFromJson(written);
  QCOMPARE(back.kind, kind);
  QCOMPARE(StepDisplayText(back), StepDisplayText(step));
}

void WheelFileModelTest::savedText_data() {
  QTest::addColumn<QByteArray>("json");
  QTest::addColumn<int>("addWheels");  // wheels added after loading
  QTest::addColumn<QByteArray>("saved");

  QTest::newRow("actions form stays actions form")
      << QByteArray(R"({"actions": [{"name": "A", "key": "f5"}]})") << 0
      << QByteArray(
             "{\n"
             "    \"actions\": [\n"
             "        {\n"
             "            \"name\": \"A\",\n"
             "            \"steps\": [\n"
             "                {\n"
             "                    \"action\": \"click\",\n"
             "                    \"key\": \"f5\",\n"
             "                    \"value\": 1\n"
             "                }\n"
             "            ]\n"
             "        }\n"
             "    ]\n"
             "}\n");
  QTest::newRow("actions form with a second wheel becomes wheels form")
      << QByteArray(R"({"actions": [{"name": "A"}]})") << 1
      << QByteArray(
             "{\n"
             "    \"wheels\": [\n"
             "        {\n"
             "            \"actions\": [\n"
             "                {\n"
             "                    \"name\": \"A\",\n"
             "                    \"steps\": [\n"
             "                    ]\n"
             "                }\n"
             "            ],\n"
             "            \"name\": \"\"\n"
             "        },\n"
             "        {\n"
             "            \"actions\": [\n"
             "            ],\n"
             "            \"name\": \"Nowe\"\n"
             "        }\n"
             "    ]\n"
             "}\n");
  QTest::newRow("empty wheels list saves Koło 1") << QByteArray(R"({"wheels": []})") << 0
                                                  << QString::fromUtf16(
                                                         u"{\n"
                                                         u"    \"wheels\": [\n"
                                                         u"        {\n"
                                                         u"            \"actions\": [\n"
                                                         u"            ],\n"
                                                         u"            \"name\": \"Koło 1\"\n"
                                                         u"        }\n"
                                                         u"    ]\n"
                                                         u"}\n")
                                                         .toUtf8();
  QTest::newRow("field members alphabetical, defaults left out, colours normalised")
      << QByteArray(R"({"wheels": [{"name": "W", "actions": [
           {"voice": "graj", "name": "A", "icon": "icons/a.png", "delay": 30, "color": "#00ff00"},
           {"name": "B", "delay": 0, "color": "green", "icon": "", "voice": ""}]}]})")
      << 0
      << QByteArray(
             "{\n"
             "    \"wheels\": [\n"
             "        {\n"
             "            \"actions\": [\n"
             "                {\n"
             "                    \"color\": \"#00FF00\",\n"
             "                    \"icon\": \"icons/a.png\",\n"
             "                    \"name\": \"A\",\n"
             "                    \"steps\": [\n"
             "                    ],\n"
             "                    \"voice\": \"graj\"\n"
             "                },\n"
             "                {\n"
             "                    \"color\": \"#008000\",\n"
             "                    \"delay\": 0,\n"
             "                    \"name\": \"B\",\n"
             "                    \"steps\": [\n"
             "                    ]\n"
             "                }\n"
             "            ],\n"
             "            \"name\": \"W\"\n"
             "        }\n"
             "    ]\n"
             "}\n");
}

void WheelFileModelTest::savedText() {
  QFETCH(QByteArray, json);
  QFETCH(int, addWheels);
  QFETCH(QByteArray, saved);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("w.json"));
  QVERIFY(WriteFile(path, json));
  WheelFileModel m;
  QString error;
  QVERIFY2(m.Load(path, &error), qPrintable(error));
  for (int i = 0; i < addWheels; ++i) m.wheels.append({QStringLiteral("Nowe"), {}});
  QVERIFY2(m.Save(&error), qPrintable(error));
  QCOMPARE(ReadFile(path), saved);
  // Only the file itself is left behind, no temporary beside it.
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("w.json")});
  // What was written loads to the same model.
  WheelFileModel again;
  QVERIFY2(again.Load(path, &error), qPrintable(error));
  QCOMPARE(Dump(again), Dump(m));
}

void WheelFileModelTest::saveFailureLeavesFileAndModel_data() {
  QTest::addColumn<bool>("directory");
  QTest::newRow("read-only file") << false;
  QTest::newRow("path is a folder") << true;
}

void WheelFileModelTest::saveFailureLeavesFileAndModel() {
  QFETCH(bool, directory);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("w.json"));
  const QByteArray original = R"({"actions": [{"name": "A", "key": "f5"}]})";
  QVERIFY(WriteFile(path, original));
  WheelFileModel m;
  QString error;
  QVERIFY(m.Load(path, &error));
  m.wheels[0].fields[0].name = QStringLiteral("zmienione");
  if (directory) {
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("w.json")));
  } else {
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
  }
  const WheelFileModel before = m;
  QVERIFY(!m.Save(&error));
  QCOMPARE(error, U(u"Nie można zapisać pliku %1").arg(path));
  QCOMPARE(m.path, before.path);
  QCOMPARE(m.wheelsForm, before.wheelsForm);
  QCOMPARE(m.wheels, before.wheels);
  if (!directory) {
    QCOMPARE(ReadFile(path), original);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  }
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
           QStringList{QStringLiteral("w.json")});
}

void WheelFileModelTest::engineReadsTheSameSteps() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("every.json"));
  QVERIFY(WriteFile(path, kEveryKind));

  WheelFileModel m;
  QString error;
  QVERIFY2(m.Load(path, &error), qPrintable(error));
  velmor::WheelList engine;
  QVERIFY(velmor::LoadWheelFile(path.toStdString(), engine, velmor::kWheelFieldLimit));

  // The engine keeps only wheels with fields, and so the fixture has none
  // without; every kind is present on the GUI side.
  QList<FieldSummary> gui = FromModel(m);
  QCOMPARE(m.wheels.size(), 2);
  QCOMPARE(m.wheels[0].fields[0].steps.size(), 16);
  for (int k = 0; k < velmor::gui::kStepKindCount; ++k)
    QVERIFY2(std::any_of(m.wheels[0].fields[0].steps.begin(), m.wheels[0].fields[0].steps.end(),
                         [&](const StepModel& s) { return static_cast<int>(s.kind) == k; }),
             qPrintable(QStringLiteral("kind %1 missing from the fixture").arg(k)));
  QCOMPARE(gui, FromEngine(engine));

  // A file the model wrote reads in the engine as the model holds it.
  const QString savedPath = dir.filePath(QStringLiteral("saved.json"));
  m.path = savedPath;
  QVERIFY2(m.Save(&error), qPrintable(error));
  velmor::WheelList reread;
  QVERIFY(velmor::LoadWheelFile(savedPath.toStdString(), reread, velmor::kWheelFieldLimit));
  QCOMPARE(FromEngine(reread), gui);
}

QTEST_GUILESS_MAIN(WheelFileModelTest)
#include "wheel_file_model_test.moc"
