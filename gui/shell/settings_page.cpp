#include "gui/shell/settings_page.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

#include "gui/shell/languages.h"
#include "gui/shell/quit.h"
#include "gui/shell/restart.h"
#include "gui/shell/style_hooks.h"
#include "gui/shell/themes.h"
#include "gui/voice/settings_file.h"

namespace velmor::gui {

ThemeChooser::ThemeChooser(QWidget* parent) : QWidget(parent) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  QVBoxLayout* body = nullptr;
  outer->addWidget(MakeCard(this, &body, tr("Motyw interfejsu")));
  group_ = new QButtonGroup(this);
  group_->setExclusive(true);
  const auto& palettes = Palettes();
  for (int i = 0; i < palettes.size(); ++i) {
    const Palette& p = palettes[i];
    auto* row = new QHBoxLayout;
    auto* radio = new QRadioButton(p.name, this);
    radio->setAccessibleName(p.name);
    radio->setChecked(p.key == CurrentThemeKey());
    group_->addButton(radio, i);
    auto* swatch = new QLabel(this);
    swatch->setFixedSize(46, 20);
    swatch->setStyleSheet(QStringLiteral("background:%1; border:1px solid %2; border-radius:4px;")
                              .arg(p.accent.name(), p.surface.name()));
    swatch->setAccessibleName(p.name);
    row->addWidget(radio);
    row->addStretch(1);
    row->addWidget(swatch);
    body->addLayout(row);
  }
  connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (!checked || id < 0 || id >= Palettes().size()) return;
    const QString key = Palettes()[id].key;
    ApplyTheme(key);
    QSettings(QStringLiteral("Velmor"), QStringLiteral("UI"))
        .setValue(QStringLiteral("theme"), key);
    emit themeChanged(key);
  });
}

LanguageChooser::LanguageChooser(QWidget* parent) : QWidget(parent) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  QVBoxLayout* body = nullptr;
  const QString title = tr("Język / Language");
  outer->addWidget(MakeCard(this, &body, title));
  combo_ = new QComboBox(this);
  combo_->setAccessibleName(title);
  combo_->view()->setAccessibleName(title);
  const QString current = CurrentGuiLanguage();
  int selected = 0;
  const auto& languages = Languages();
  for (int i = 0; i < languages.size(); ++i) {
    combo_->addItem(languages[i].name, languages[i].code);
    if (languages[i].code == current) selected = i;
  }
  combo_->setCurrentIndex(selected);
  body->addWidget(combo_);
  // activated, not currentIndexChanged: picking the current entry again
  // still stores it and offers the restart.
  connect(combo_, &QComboBox::activated, this, &LanguageChooser::choose);
  ask_ = [this] {
    return QMessageBox::question(
               this, tr("Velmor"),
               tr("Zmiana języka wymaga ponownego uruchomienia. Uruchomić program ponownie teraz?"),
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
}

void LanguageChooser::choose(int index) {
  const QString code = combo_->itemData(index).toString();
  if (code.isEmpty()) return;
  QSettings(QStringLiteral("Velmor"), QStringLiteral("UI")).setValue(QStringLiteral("lang"), code);
  // The update reloads the engine, whose messages and voice commands switch
  // language at once; a settings file that cannot be read as an object is
  // left as it is. (The speech model for the language is offered between
  // the write and the reload once downloads exist.)
  UpdateSettingsFile([&code](QJsonObject& s) { s.insert(QStringLiteral("language"), code); });
  if (ask_ && ask_()) emit restartRequested();
}

SettingsPage::SettingsPage(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 18, 18, 18);
  layout->setSpacing(10);
  auto* heading = RoleLabel(tr("Ustawienia"), "pageTitle", this);
  setAccessibleName(heading->text());
  layout->addWidget(heading);
  theme_ = new ThemeChooser(this);
  language_ = new LanguageChooser(this);
  layout->addWidget(theme_);
  layout->addWidget(language_);
  layout->addStretch(1);
  connect(language_, &LanguageChooser::restartRequested, this, [] {
    if (StartRestartedProgram()) QuitProgram();
  });
}

}  // namespace velmor::gui
