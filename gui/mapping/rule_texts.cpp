#include "gui/mapping/rule_texts.h"

#include <QCoreApplication>

namespace velmor::gui {

namespace {

// The pad buttons in the order of their numbers: btn1 is "a", btn16 is "rt".
constexpr const char* kPadButtonOrder[16] = {"a",    "b",     "x",  "y",  "lb", "rb",
                                             "back", "start", "l3", "r3", "up", "down",
                                             "left", "right", "lt", "rt"};

struct NamePair {
  const char* source;
  const char16_t* display;
};

constexpr NamePair kPadNames[] = {
    {"a", u"A"},       {"b", u"B"},        {"x", u"X"},       {"y", u"Y"},
    {"lb", u"LB"},     {"rb", u"RB"},      {"lt", u"LT"},     {"rt", u"RT"},
    {"back", u"View"}, {"start", u"Menu"}, {"l3", u"L3"},     {"r3", u"R3"},
    {"up", u"Góra"},   {"down", u"Dół"},   {"left", u"Lewo"}, {"right", u"Prawo"},
};

constexpr NamePair kKeyNames[] = {
    {"lsl", u"Lewa gałka lewo"},
    {"lsr", u"Lewa gałka prawo"},
    {"lsu", u"Lewa gałka góra"},
    {"lsd", u"Lewa gałka dół"},
    {"rsl", u"Prawa gałka lewo"},
    {"rsr", u"Prawa gałka prawo"},
    {"rsu", u"Prawa gałka góra"},
    {"rsd", u"Prawa gałka dół"},
    {"space", u"Spacja"},
    {"enter", u"Enter"},
    {"esc", u"Esc"},
    {"tab", u"Tab"},
    {"backspace", u"Backspace"},
    {"shift", u"Shift"},
    {"ctrl", u"Ctrl"},
    {"alt", u"Alt"},
    {"win", u"Win"},
    {"capslock", u"Caps Lock"},
    {"up", u"Strzałka w górę"},
    {"down", u"Strzałka w dół"},
    {"left", u"Strzałka w lewo"},
    {"right", u"Strzałka w prawo"},
    {"insert", u"Insert"},
    {"delete", u"Delete"},
    {"home", u"Home"},
    {"end", u"End"},
    {"pageup", u"Page Up"},
    {"pagedown", u"Page Down"},
};

template <std::size_t N>
const char16_t* Lookup(const NamePair (&table)[N], const QString& name) {
  for (const auto& row : table)
    if (name == QLatin1String(row.source)) return row.display;
  return nullptr;
}

QString PadName(const QString& name) {
  if (const char16_t* d = Lookup(kPadNames, name)) return QString::fromUtf16(d);
  return name.toUpper();
}

}  // namespace

QString SourceDisplayName(const QString& deviceKey, const QString& source) {
  const QString s = source.trimmed().toLower();
  if (s == QLatin1String("lmb"))
    return QCoreApplication::translate("velmor::gui::RuleTexts", "Lewy przycisk");
  if (s == QLatin1String("rmb"))
    return QCoreApplication::translate("velmor::gui::RuleTexts", "Prawy przycisk");
  if (s == QLatin1String("mmb"))
    return QCoreApplication::translate("velmor::gui::RuleTexts", "Środkowy przycisk");
  if (s == QLatin1String("mb4"))
    return QCoreApplication::translate("velmor::gui::RuleTexts", "Przycisk boczny 4");
  if (s == QLatin1String("mb5"))
    return QCoreApplication::translate("velmor::gui::RuleTexts", "Przycisk boczny 5");
  if (s.startsWith(QLatin1String("pad:"))) return PadName(s.mid(4));
  if (s.startsWith(QLatin1String("btn"))) {
    const QString digits = s.mid(3);
    bool allDigits = !digits.isEmpty();
    for (QChar c : digits) allDigits = allDigits && c >= u'0' && c <= u'9';
    bool ok = false;
    const int n = allDigits ? digits.toInt(&ok) : 0;
    if (ok) {
      if (deviceKey == QLatin1String("xac") && n >= 1 && n <= 16)
        return PadName(QLatin1String(kPadButtonOrder[n - 1]));
      return QCoreApplication::translate("velmor::gui::RuleTexts", "Przycisk %1").arg(n);
    }
  }
  if (const char16_t* d = Lookup(kKeyNames, s)) return QString::fromUtf16(d);
  return s.toUpper();
}

}  // namespace velmor::gui
