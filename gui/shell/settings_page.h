#pragma once

#include <QWidget>
#include <functional>

class QButtonGroup;
class QComboBox;

namespace velmor::gui {

// The theme chooser card "Motyw interfejsu": one radio button per palette,
// with a swatch of its colours.
class ThemeChooser : public QWidget {
  Q_OBJECT
 public:
  explicit ThemeChooser(QWidget* parent = nullptr);
  QButtonGroup* buttons() const { return group_; }

 signals:
  // After a theme was applied and stored: painted previews repaint.
  void themeChanged(const QString& key);

 private:
  QButtonGroup* group_ = nullptr;
};

// The language chooser card "Język / Language". A new language is stored at
// once and takes effect after a restart, which it offers.
class LanguageChooser : public QWidget {
  Q_OBJECT
 public:
  explicit LanguageChooser(QWidget* parent = nullptr);
  QComboBox* combo() const { return combo_; }
  // The restart question; tests answer it themselves.
  void setRestartQuestion(std::function<bool()> ask) { ask_ = std::move(ask); }

 signals:
  void restartRequested();

 private:
  void choose(int index);

  QComboBox* combo_ = nullptr;
  std::function<bool()> ask_;
};

// The Settings tab. Its other cards (devices, audio, timings, account) join
// the two choosers as their parts are built.
class SettingsPage : public QWidget {
  Q_OBJECT
 public:
  explicit SettingsPage(QWidget* parent = nullptr);
  ThemeChooser* themeChooser() const { return theme_; }
  LanguageChooser* languageChooser() const { return language_; }

 private:
  ThemeChooser* theme_ = nullptr;
  LanguageChooser* language_ = nullptr;
};

}  // namespace velmor::gui
