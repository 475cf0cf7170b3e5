#include "gui/wheels/wheel_file_model.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>

#include "gui/mapping/rule_texts.h"

namespace velmor::gui {

namespace {

// A whole number that fits an int; fractions, huge values and non-numbers
// count as "not a number".
std::optional<int> IntOf(const QJsonValue& v) {
  if (!v.isDouble()) return std::nullopt;
  const double d = v.toDouble();
  if (!std::isfinite(d) || d != std::floor(d)) return std::nullopt;
  if (d < std::numeric_limits<int>::min() || d > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(d);
}

// A key value: a number in decimal, otherwise the string (empty for any
// other type).
QString KeyText(const QJsonValue& v) {
  if (const auto n = IntOf(v)) return QString::number(*n);
  return v.toString();
}

StepModel KeyClick(const QString& key) {
  StepModel s;
  s.kind = StepKind::Click;
  s.key = key;
  s.count = 1;
  return s;
}

WheelModel ReadWheel(const QString& name, const QJsonArray& actions) {
  WheelModel wheel;
  wheel.name = name;
  for (const QJsonValue& a : actions) wheel.fields.append(FieldFromJson(a.toObject()));
  return wheel;
}

QJsonArray FieldsToJson(const QList<FieldModel>& fields) {
  QJsonArray out;
  for (const FieldModel& f : fields) out.append(FieldToJson(f));
  return out;
}

}  // namespace

bool WheelFileModel::Load(const QString& filePath, QString* error) {
  QFile file(filePath);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error)
      *error =
          QCoreApplication::translate("velmor::gui::WheelFileModel", "Nie można otworzyć pliku %1")
              .arg(filePath);
    return false;
  }
  return LoadFromBytes(file.readAll(), filePath, error);
}

bool WheelFileModel::LoadFromBytes(const QByteArray& bytes, const QString& filePath,
                                   QString* error) {
  QJsonParseError parse;
  const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
  if (doc.isNull() || !doc.isObject()) {
    if (error)
      *error = QCoreApplication::translate("velmor::gui::WheelFileModel", "Błąd JSON: %1")
                   .arg(parse.errorString());
    return false;
  }
  const QJsonObject root = doc.object();
  QList<WheelModel> read;
  bool form = true;
  if (root.value(QLatin1String("wheels")).isArray()) {
    for (const QJsonValue& w : root.value(QLatin1String("wheels")).toArray()) {
      const QJsonObject o = w.toObject();
      read.append(ReadWheel(o.value(QLatin1String("name")).toString(),
                            o.value(QLatin1String("actions")).toArray()));
    }
  } else if (root.value(QLatin1String("actions")).isArray()) {
    form = false;
    read.append(ReadWheel(QString(), root.value(QLatin1String("actions")).toArray()));
  } else {
    if (error)
      *error = QCoreApplication::translate("velmor::gui::WheelFileModel",
                                           "Plik nie zawiera \"wheels\" ani \"actions\"");
    return false;
  }
  if (read.isEmpty()) {
    WheelModel first;
    first.name = QString::fromUtf16(u"Koło 1");
    read.append(first);
  }
  path = filePath;
  wheelsForm = form;
  wheels = read;
  return true;
}

QByteArray WheelFileModel::ToJson() const {
  QJsonObject root;
  // The single-list form holds one wheel only: with more, the wheels form is
  // written so that the further wheels are not silently lost.
  if (wheelsForm || wheels.size() > 1) {
    QJsonArray list;
    for (const WheelModel& w : wheels) {
      QJsonObject o;
      o.insert(QLatin1String("actions"), FieldsToJson(w.fields));
      o.insert(QLatin1String("name"), w.name);
      list.append(o);
    }
    root.insert(QLatin1String("wheels"), list);
  } else {
    root.insert(QLatin1String("actions"),
                wheels.isEmpty() ? QJsonArray() : FieldsToJson(wheels.first().fields));
  }
  // QJsonObject keeps its members sorted, so the text is alphabetical.
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool WheelFileModel::Save(QString* error) const {
  const auto fail = [&] {
    if (error)
      *error =
          QCoreApplication::translate("velmor::gui::WheelFileModel", "Nie można zapisać pliku %1")
              .arg(path);
    return false;
  };
  // Written beside the file and renamed over it, so a crash or a full disk
  // never leaves half a wheel file. The rename would also replace a file the
  // user marked read-only (and root may write any file), so such a file is
  // refused here by its permission bits.
  const QFileInfo info(path);
  if (info.exists() && (info.isDir() || !(info.permissions() & QFileDevice::WriteOwner)))
    return fail();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return fail();
  const QByteArray text = ToJson();
  if (file.write(text) != text.size()) {
    file.cancelWriting();
    return fail();
  }
  if (!file.commit()) return fail();
  return true;
}

FieldModel FieldFromJson(const QJsonObject& o) {
  FieldModel f;
  f.name = o.value(QLatin1String("name")).toString();
  f.voice = o.value(QLatin1String("voice")).toString();
  f.icon = o.value(QLatin1String("icon")).toString();
  if (o.contains(QLatin1String("delay")))
    f.delay = IntOf(o.value(QLatin1String("delay"))).value_or(30);
  const QString colour = o.value(QLatin1String("color")).toString();
  if (!colour.isEmpty()) f.colour = QColor::fromString(colour);  // invalid when unparsable

  const QJsonValue steps = o.value(QLatin1String("steps"));
  if (steps.isArray()) {
    for (const QJsonValue& s : steps.toArray()) f.steps.append(StepFromJson(s.toObject()));
    return f;
  }
  // The older key forms: "keys", else "key", each key a click.
  const QLatin1String member(o.contains(QLatin1String("keys")) ? "keys" : "key");
  const QJsonValue keys = o.value(member);
  if (keys.isArray()) {
    for (const QJsonValue& k : keys.toArray()) {
      const QString key = KeyText(k);
      if (!key.isEmpty()) f.steps.append(KeyClick(key));
    }
  } else if (keys.isDouble() || keys.isString()) {
    const QString key = KeyText(keys);
    if (!key.isEmpty()) f.steps.append(KeyClick(key));
  }
  return f;
}

QJsonObject FieldToJson(const FieldModel& f) {
  QJsonObject o;
  o.insert(QLatin1String("name"), f.name);
  if (f.colour.isValid()) o.insert(QLatin1String("color"), f.colour.name(QColor::HexRgb).toUpper());
  if (f.delay != 30) o.insert(QLatin1String("delay"), f.delay);
  if (!f.icon.isEmpty()) o.insert(QLatin1String("icon"), f.icon);
  if (!f.voice.isEmpty()) o.insert(QLatin1String("voice"), f.voice);
  QJsonArray steps;
  for (const StepModel& s : f.steps) steps.append(StepToJson(s));
  o.insert(QLatin1String("steps"), steps);
  return o;
}

StepModel StepFromJson(const QJsonObject& o) {
  StepModel s;
  const auto text = [&](const char* member) { return o.value(QLatin1String(member)).toString(); };
  if (o.contains(QLatin1String("open"))) {
    s.kind = StepKind::Open;
    s.argument = text("open");
  } else if (o.contains(QLatin1String("call"))) {
    s.kind = StepKind::Call;
    s.argument = text("call");
  } else if (o.contains(QLatin1String("wheel"))) {
    s.kind = StepKind::SwitchWheel;
    s.argument = text("wheel");
  } else if (o.contains(QLatin1String("profile"))) {
    s.kind = StepKind::SwitchScheme;
    s.argument = text("profile");
  } else if (o.contains(QLatin1String("map"))) {
    s.kind = StepKind::MapRule;
    s.argument = text("map");
    s.key = text("to");
  } else if (o.contains(QLatin1String("wait"))) {
    s.kind = StepKind::Wait;
    s.count = std::clamp(IntOf(o.value(QLatin1String("wait"))).value_or(0), 0, 60000);
  } else if (o.contains(QLatin1String("remap"))) {
    s.kind = StepKind::Remap;
    s.key = text("remap");
  } else {
    s.key = KeyText(o.value(QLatin1String("key")));
    const QJsonValue actionValue = o.value(QLatin1String("action"));
    const QString action =
        actionValue.isString() ? actionValue.toString() : QStringLiteral("click");
    const auto is = [&](std::initializer_list<const char16_t*> words) {
      for (const char16_t* w : words)
        if (action == QString::fromUtf16(w)) return true;
      return false;
    };
    const QJsonValue value = o.value(QLatin1String("value"));
    if (is({u"hold", u"przytrzymaj"})) {
      s.kind = StepKind::Hold;
      s.count = IntOf(value).value_or(0);
    } else if (is({u"release", u"pusc", u"puść"})) {
      s.kind = StepKind::Release;
    } else if (is({u"toggle", u"przelacz", u"przełącz"})) {
      s.kind = StepKind::Toggle;
    } else if (is({u"readsel", u"przeczytaj"})) {
      s.kind = StepKind::ReadSelection;
    } else if (is({u"releaseall", u"puscwszystko", u"puść wszystko"})) {
      s.kind = StepKind::ReleaseAll;
    } else {
      s.kind = StepKind::Click;
      s.count =
          o.contains(QLatin1String("value")) ? std::clamp(IntOf(value).value_or(1), 1, 100) : 1;
    }
  }
  return s;
}

QJsonObject StepToJson(const StepModel& s) {
  QJsonObject o;
  const auto keyStep = [&](const char* action) {
    o.insert(QLatin1String("key"), s.key);
    o.insert(QLatin1String("action"), QLatin1String(action));
  };
  switch (s.kind) {
    case StepKind::Click:
      keyStep("click");
      o.insert(QLatin1String("value"), s.count);
      break;
    case StepKind::Hold:
      keyStep("hold");
      o.insert(QLatin1String("value"), s.count);
      break;
    case StepKind::Release:
      keyStep("release");
      break;
    case StepKind::Open:
      o.insert(QLatin1String("open"), s.argument);
      break;
    case StepKind::Toggle:
      keyStep("toggle");
      break;
    case StepKind::ReadSelection:
      o.insert(QLatin1String("action"), QLatin1String("readsel"));
      break;
    case StepKind::ReleaseAll:
      o.insert(QLatin1String("action"), QLatin1String("releaseall"));
      break;
    case StepKind::Call:
      o.insert(QLatin1String("call"), s.argument);
      break;
    case StepKind::SwitchWheel:
      o.insert(QLatin1String("wheel"), s.argument);
      break;
    case StepKind::MapRule:
      o.insert(QLatin1String("map"), s.argument);
      o.insert(QLatin1String("to"), s.key);
      break;
    case StepKind::SwitchScheme:
      o.insert(QLatin1String("profile"), s.argument);
      break;
    case StepKind::Wait:
      o.insert(QLatin1String("wait"), s.count);
      break;
    case StepKind::Remap:
      o.insert(QLatin1String("remap"), s.key);
      break;
  }
  return o;
}

QString StepDisplayText(const StepModel& s) {
  const auto t = [](const char16_t* text) { return QString::fromUtf16(text); };
  switch (s.kind) {
    case StepKind::Click:
      return s.count < 2 ? t(u"klik:  %1").arg(s.key) : t(u"klik ×%1:  %2").arg(s.count).arg(s.key);
    case StepKind::Hold:
      return s.count <= 0 ? t(u"przytrzymaj (bez puszczania):  %1").arg(s.key)
                          : t(u"przytrzymaj %1 ms:  %2").arg(s.count).arg(s.key);
    case StepKind::Release:
      return t(u"puść:  %1").arg(s.key);
    case StepKind::Open:
      return t(u"otwórz:  %1").arg(s.argument);
    case StepKind::Toggle:
      return t(u"przełącz:  %1").arg(s.key);
    case StepKind::ReadSelection:
      return t(u"przeczytaj zaznaczenie");
    case StepKind::ReleaseAll:
      return t(u"puść wszystko");
    case StepKind::Call:
      return t(u"zadzwoń:  %1").arg(s.argument);
    case StepKind::SwitchWheel:
      return t(u"zmień koło:  %1").arg(s.argument);
    case StepKind::MapRule:
      return t(u"reguła:  %1 → %2")
          .arg(SourceDisplayName(QStringLiteral("global"), s.argument),
               s.key.isEmpty() ? t(u"(usuń)") : s.key);
    case StepKind::SwitchScheme:
      return t(u"zmień schemat mapowania:  %1").arg(s.argument);
    case StepKind::Wait:
      return t(u"czekaj:  %1 ms").arg(s.count);
    case StepKind::Remap:
      return t(u"mapowanie →  %1").arg(s.key);
  }
  return QString();
}

QString StepKindLabel(StepKind kind) {
  static const char* const kLabels[kStepKindCount] = {
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "klik"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "przytrzymaj"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "puść"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "otwórz"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "przełącz"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "przeczytaj zaznaczenie"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "puść wszystko"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "zadzwoń pod numer (telefon)"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "zmień koło"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "pojedyncza reguła (przycisk → cel)"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "zmień schemat mapowania"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "czekaj"),
      QT_TRANSLATE_NOOP("velmor::gui::StepKind", "mapowanie (zamień przycisk na…)"),
  };
  const int i = static_cast<int>(kind);
  if (i < 0 || i >= kStepKindCount) return QString();
  return QCoreApplication::translate("velmor::gui::StepKind", kLabels[i]);
}

}  // namespace velmor::gui
