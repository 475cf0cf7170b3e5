#pragma once

#include <QString>
#include <QVector>

class QTranslator;

namespace velmor::gui {

// One interface language: the code (also the settings file's "language"
// value) and the name shown in the chooser, in that language itself.
struct Language {
  QString code;
  QString name;
};

// The eleven interface languages in chooser order; Polish first.
const QVector<Language>& Languages();

// The interface language for a system locale name such as "de_AT": every
// Chinese locale gets the simplified translation, the rest their first two
// letters.
QString GuiLanguageFromLocale(const QString& localeName);

// The "lang" preference, or the system locale's language when it is unset.
QString CurrentGuiLanguage();

// Loads translations/velmor_<language>.qm from the program directory into
// `translator`. Polish is the program's own language and loads nothing.
// `dir` overrides the folder when not empty.
bool LoadTranslation(QTranslator& translator, const QString& language,
                     const QString& dir = QString());

}  // namespace velmor::gui
