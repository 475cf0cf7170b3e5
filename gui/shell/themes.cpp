#include "gui/shell/themes.h"

#include <QApplication>
#include <QFile>

#include "gui/shell/program_dir.h"

namespace velmor::gui {

namespace {

Palette Make(const char* key, const char* name, const char* accent, const char* segment,
             const char* highlight, const char* surface, const char* secondary, const char* text) {
  return Palette{
      QString::fromLatin1(key), QString::fromUtf8(name), QColor(accent),    QColor(segment),
      QColor(highlight),        QColor(surface),         QColor(secondary), QColor(text)};
}

QString& CurrentKey() {
  static QString key = QStringLiteral("fluent");
  return key;
}

}  // namespace

const QVector<Palette>& Palettes() {
  static const QVector<Palette> table = {
      Make("fluent", "Fluent (jasny)", "#185FA5", "#E6F1FB", "#378ADD", "#F4F6FB", "#0F6E56",
           "#1B2433"),
      Make("neon", "Neon (gaming)", "#39D5C9", "#1B2340", "#2AA39B", "#101423", "#39D5C9",
           "#E8ECFF"),
      Make("pro", "Pro studio (grafit)", "#EFA02F", "#2C2F38", "#BA7517", "#1D1F24", "#9FE1CB",
           "#E8E6DF"),
      Make("mono", "Czarno-biały", "#000000", "#E8E8E8", "#000000", "#FFFFFF", "#000000",
           "#000000"),
      Make("contrast", "Wysoki kontrast", "#FFE500", "#000000", "#FFE500", "#000000", "#34FF6B",
           "#FFFFFF"),
      Make("large", "Duży druk (jasny)", "#0B5CAB", "#DCEBFA", "#3A8BDD", "#FFFFFF", "#1B7A3F",
           "#111111"),
      Make("largedark", "Duży druk (ciemny)", "#5EB3FF", "#2F3B4A", "#3A8BDD", "#1E1E1E", "#7CE3A0",
           "#F2F2F2"),
  };
  return table;
}

const Palette& PaletteFor(const QString& key) {
  const QVector<Palette>& table = Palettes();
  for (const Palette& palette : table) {
    if (palette.key == key) return palette;
  }
  return table.front();
}

QString CurrentThemeKey() {
  return CurrentKey();
}

void ApplyTheme(const QString& key) {
  const Palette& palette = PaletteFor(key);
  CurrentKey() = palette.key;
  QString text;
  QFile file(ProgramFile(QStringLiteral("themes/") + palette.key + QStringLiteral(".qss")));
  if (file.open(QIODevice::ReadOnly)) text = QString::fromUtf8(file.readAll());
  // Editors on Windows like to start UTF-8 files with a byte-order mark.
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  qApp->setStyleSheet(text);
}

}  // namespace velmor::gui
