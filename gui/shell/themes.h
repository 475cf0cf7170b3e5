#pragma once

#include <QColor>
#include <QString>
#include <QVector>

namespace velmor::gui {

// A built-in theme: the colours the program's own painted widgets read
// (wheel preview, mapping map, colour dialogs), next to the style sheet of
// the same key that restyles the standard widgets.
struct Palette {
  QString key;   // stable identifier, stored as the "theme" preference
  QString name;  // shown in the chooser as it stands (not translated)
  QColor accent;
  QColor segment;
  QColor highlight;
  QColor surface;
  QColor secondary;
  QColor text;
};

// The seven built-in palettes in chooser order; the first is the fallback.
const QVector<Palette>& Palettes();

// The palette whose key equals `key` exactly, otherwise the first one.
const Palette& PaletteFor(const QString& key);

// The key of the theme applied last; "fluent" before any.
QString CurrentThemeKey();

// Looks the palette up, makes it current and sets themes/<key>.qss from the
// program directory as the application's style sheet (an empty one when the
// file cannot be read).
void ApplyTheme(const QString& key);

}  // namespace velmor::gui
