#include "gui/shell/languages.h"

#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include "gui/shell/program_dir.h"

namespace velmor::gui {

const QVector<Language>& Languages() {
  static const QVector<Language> table = {
      {QStringLiteral("pl"), QString::fromUtf8("Polski")},
      {QStringLiteral("en"), QString::fromUtf8("English")},
      {QStringLiteral("de"), QString::fromUtf8("Deutsch")},
      {QStringLiteral("es"), QString::fromUtf8("Español")},
      {QStringLiteral("fr"), QString::fromUtf8("Français")},
      {QStringLiteral("it"), QString::fromUtf8("Italiano")},
      {QStringLiteral("uk"), QString::fromUtf8("Українська")},
      {QStringLiteral("ru"), QString::fromUtf8("Русский")},
      {QStringLiteral("zh_CN"), QString::fromUtf8("中文（简体）")},
      {QStringLiteral("ko"), QString::fromUtf8("한국어")},
      {QStringLiteral("ja"), QString::fromUtf8("日本語")},
  };
  return table;
}

QString GuiLanguageFromLocale(const QString& localeName) {
  // Only one Chinese translation exists, so Taiwan and Hong Kong get it too.
  if (localeName.startsWith(QStringLiteral("zh"), Qt::CaseSensitive)) {
    return QStringLiteral("zh_CN");
  }
  const QString code = localeName.left(2);
  // The "C" locale (no language set, as in services and containers) names
  // no language: writing "C" into config.json would leave the engine with a
  // language code that is none. The program's own language stands in.
  if (code.size() != 2 || !code[0].isLetter() || !code[1].isLetter()) return QStringLiteral("pl");
  return code;
}

QString CurrentGuiLanguage() {
  const QString stored = QSettings(QStringLiteral("Velmor"), QStringLiteral("UI"))
                             .value(QStringLiteral("lang"))
                             .toString();
  if (!stored.isEmpty()) return stored;
  return GuiLanguageFromLocale(QLocale::system().name());
}

bool LoadTranslation(QTranslator& translator, const QString& language, const QString& dir) {
  // The program's own texts are Polish: a Polish file, even if present, is never read.
  if (language == QLatin1String("pl")) return false;
  const QString folder = dir.isEmpty() ? ProgramFile(QStringLiteral("translations")) : dir;
  return translator.load(QStringLiteral("velmor_") + language, folder);
}

}  // namespace velmor::gui
