#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "gui/shell/languages.h"
#include "gui/shell/program_dir.h"
#include "gui/shell/themes.h"

using namespace velmor::gui;

namespace {

const QStringList kThemeKeys = {"fluent", "neon", "pro", "mono", "contrast", "large", "largedark"};
// Themes made for low vision: every text they set must pass WCAG AA.
const QStringList kAccessibleThemes = {"contrast", "large", "largedark"};

// A German translation of one text in context "Velmor" ("Zakończ" ->
// "Beenden"), as lrelease writes it.
const unsigned char kGermanQm[] = {
    0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95, 0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1,
    0xbd, 0xdd, 0xa7, 0x00, 0x00, 0x00, 0x02, 0x64, 0x65, 0x42, 0x00, 0x00, 0x00, 0x08,
    0x08, 0x2b, 0xdc, 0xaa, 0x00, 0x00, 0x00, 0x00, 0x69, 0x00, 0x00, 0x00, 0x31, 0x03,
    0x00, 0x00, 0x00, 0x0e, 0x00, 0x42, 0x00, 0x65, 0x00, 0x65, 0x00, 0x6e, 0x00, 0x64,
    0x00, 0x65, 0x00, 0x6e, 0x08, 0x00, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x08,
    0x5a, 0x61, 0x6b, 0x6f, 0xc5, 0x84, 0x63, 0x7a, 0x07, 0x00, 0x00, 0x00, 0x06, 0x56,
    0x65, 0x6c, 0x6d, 0x6f, 0x72, 0x01, 0x88, 0x00, 0x00, 0x00, 0x02, 0x01, 0x01};

void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// WCAG 2.1 relative luminance and contrast ratio.
double Luminance(QRgb rgb) {
  auto channel = [](int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

double ContrastRatio(QRgb a, QRgb b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Reads text and background off rendered pixels: the most frequent colour
// of the area is the background, the colour that stands out most from it
// (and covers more than a stray anti-aliased pixel) is the text.
struct Rendered {
  QRgb background = 0;
  QRgb text = 0;
  double ratio = 0;
};

Rendered MeasureText(const QImage& image, const QRect& area) {
  QHash<QRgb, int> counts;
  const QRect clipped = area.intersected(image.rect());
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    for (int x = clipped.left(); x <= clipped.right(); ++x)
      ++counts[image.pixel(x, y) | 0xff000000u];
  }
  Rendered result;
  int best = -1;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
    if (it.value() > best) best = it.value(), result.background = it.key();
  }
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
    if (it.value() < 3) continue;
    const double ratio = ContrastRatio(it.key(), result.background);
    if (ratio > result.ratio) result.ratio = ratio, result.text = it.key();
  }
  return result;
}

QString Hex(QRgb rgb) {
  return QColor(rgb).name();
}

// The box a widget's single line of text occupies, centred, in the
// coordinates of `top`.
QRect CentredTextBox(QWidget* widget, const QString& text, QWidget* top) {
  const QFontMetrics metrics(widget->font());
  QRect box(0, 0, metrics.horizontalAdvance(text) + 2, metrics.height());
  box.moveCenter(widget->rect().center());
  return box.translated(widget->mapTo(top, QPoint(0, 0)));
}

QRect WidgetBox(QWidget* widget, QWidget* top) {
  return QRect(widget->mapTo(top, QPoint(0, 0)), widget->size());
}

QLabel* RoleLabel(const QString& role, const QString& text) {
  auto* label = new QLabel(text);
  label->setProperty("role", role);
  return label;
}

// A page as the program builds them: a title over a card holding the
// hooks and the common controls.
struct SamplePage {
  std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
  QTabBar* tabs = nullptr;
  QFrame* card = nullptr;
  QHash<QString, QLabel*> labels;
  QPushButton* primary = nullptr;
  QPushButton* button = nullptr;
  QPushButton* disabledButton = nullptr;
  QCheckBox* check = nullptr;
  QCheckBox* disabledCheck = nullptr;
  QRadioButton* radio = nullptr;
  QLineEdit* edit = nullptr;
  QComboBox* combo = nullptr;
  QSpinBox* spin = nullptr;
  QSlider* slider = nullptr;
  QListWidget* list = nullptr;

  SamplePage() {
    auto* outer = new QVBoxLayout(window.get());
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    tabs = new QTabBar;
    tabs->setObjectName("TopTabs");
    tabs->setExpanding(false);
    tabs->setDrawBase(true);
    for (const char* title : {"Start", "Komendy głosowe", "Sterowanie wzrokiem", "Ustawienia"}) {
      tabs->addTab(QString::fromUtf8(title));
    }
    outer->addWidget(tabs);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(18, 18, 18, 18);
    body->setSpacing(10);
    outer->addLayout(body, 1);
    labels["pageTitle"] = RoleLabel("pageTitle", QString::fromUtf8("Profil gry"));
    body->addWidget(labels["pageTitle"], 0, Qt::AlignLeft);

    card = new QFrame;
    card->setObjectName("Card");
    auto* inCard = new QVBoxLayout(card);
    inCard->setContentsMargins(14, 14, 14, 14);
    inCard->setSpacing(8);
    labels["cardTitle"] = RoleLabel("cardTitle", QString::fromUtf8("Motyw interfejsu"));
    labels["value"] = RoleLabel("value", QString::fromUtf8("Zainstalowana wersja: 1.0"));
    labels["ok"] = RoleLabel("ok", QString::fromUtf8("Silnik działa"));
    labels["warn"] = RoleLabel("warn", QString::fromUtf8("Brak pada"));
    labels["plain"] = new QLabel(QString::fromUtf8("Zwykły tekst opisu"));
    for (const char* role : {"cardTitle", "value", "ok", "warn", "plain"}) {
      inCard->addWidget(labels[role], 0, Qt::AlignLeft);
    }
    auto* buttons = new QHBoxLayout;
    primary = new QPushButton(QString::fromUtf8("Zapisz"));
    primary->setObjectName("Primary");
    button = new QPushButton(QString::fromUtf8("Nowy"));
    disabledButton = new QPushButton(QString::fromUtf8("Usuń"));
    disabledButton->setEnabled(false);
    buttons->addWidget(primary);
    buttons->addWidget(button);
    buttons->addWidget(disabledButton);
    buttons->addStretch(1);
    inCard->addLayout(buttons);
    check = new QCheckBox(QString::fromUtf8("Pokaż koło"));
    check->setChecked(true);
    disabledCheck = new QCheckBox(QString::fromUtf8("Zablokowane"));
    disabledCheck->setEnabled(false);
    radio = new QRadioButton(QString::fromUtf8("Fluent (jasny)"));
    radio->setChecked(true);
    edit = new QLineEdit(QString::fromUtf8("Nazwa profilu"));
    combo = new QComboBox;
    combo->addItems({QString::fromUtf8("Polski"), QString::fromUtf8("English")});
    spin = new QSpinBox;
    spin->setRange(0, 500);
    spin->setValue(250);
    slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, 100);
    slider->setValue(40);
    slider->setMinimumWidth(200);
    list = new QListWidget;
    list->addItems({QString::fromUtf8("default"), QString::fromUtf8("wyścigi"),
                    QString::fromUtf8("strzelanka")});
    list->setCurrentRow(1);
    list->setMaximumHeight(400);
    for (QWidget* widget : std::initializer_list<QWidget*>{check, disabledCheck, radio, edit, combo,
                                                           spin, slider, list}) {
      inCard->addWidget(widget, 0, Qt::AlignLeft);
    }
    body->addWidget(card);
    body->addStretch(1);
  }

  void Show() {
    window->show();
    QApplication::setActiveWindow(window.get());
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // Let the layouts settle after polish (fonts from the style sheet).
    const QSize hint = window->sizeHint();
    window->resize(std::max(1000, hint.width()), hint.height());
    QCoreApplication::processEvents();
  }
};

QString ThemeText(const QString& key) {
  return QString::fromUtf8(
      ReadFile(QStringLiteral(VELMOR_SOURCE_DIR "/resources/themes/") + key + ".qss"));
}

// The style sheet as system text scaling to 200 % would make it: every
// size in points doubled.
QString DoubledTextSizes(const QString& text) {
  static const QRegularExpression points(QStringLiteral("(\\d+)pt"));
  QString doubled;
  qsizetype last = 0;
  for (auto it = points.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    doubled += text.mid(last, match.capturedStart() - last);
    doubled += QString::number(match.captured(1).toInt() * 2) + "pt";
    last = match.capturedEnd();
  }
  return doubled + text.mid(last);
}

}  // namespace

class ThemesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void currentKeyIsFluentBeforeAnyApply();
  void paletteLookup_data();
  void paletteLookup();
  void paletteTableOrder();
  void applyThemeSetsTheFileText_data();
  void applyThemeSetsTheFileText();
  void applyThemeWithoutFileClearsTheStyleSheet();
  void applyThemeSkipsByteOrderMark();
  void languageTable();
  void guiLanguageFromLocale_data();
  void guiLanguageFromLocale();
  void currentGuiLanguageReadsThePreferenceEveryTime();
  void loadTranslation();
  void textContrast_data();
  void textContrast();
  void focusIndicator_data();
  void focusIndicator();
  void doubledTextIsNotCut_data();
  void doubledTextIsNotCut();
  void screenshots();

 private:
  QTemporaryDir program_;
};

void ThemesTest::initTestCase() {
  QStandardPaths::setTestModeEnabled(true);
  QSettings("Velmor", "UI").clear();
  QVERIFY(program_.isValid());
  for (const QString& key : kThemeKeys) {
    const QByteArray text =
        ReadFile(QStringLiteral(VELMOR_SOURCE_DIR "/resources/themes/") + key + ".qss");
    QVERIFY2(!text.isEmpty(), qPrintable(key));
    WriteFile(program_.filePath("themes/" + key + ".qss"), text);
  }
  SetProgramDirForTesting(program_.path());
}

void ThemesTest::currentKeyIsFluentBeforeAnyApply() {
  QCOMPARE(CurrentThemeKey(), QString("fluent"));
}

void ThemesTest::paletteLookup_data() {
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("expectedKey");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QStringList>("colours");  // accent, segment, highlight, surface, secondary, text
  const QList<QPair<QString, QStringList>> table = {
      {"Fluent (jasny)", {"#185fa5", "#e6f1fb", "#378add", "#f4f6fb", "#0f6e56", "#1b2433"}},
      {"Neon (gaming)", {"#39d5c9", "#1b2340", "#2aa39b", "#101423", "#39d5c9", "#e8ecff"}},
      {"Pro studio (grafit)", {"#efa02f", "#2c2f38", "#ba7517", "#1d1f24", "#9fe1cb", "#e8e6df"}},
      {"Czarno-biały", {"#000000", "#e8e8e8", "#000000", "#ffffff", "#000000", "#000000"}},
      {"Wysoki kontrast", {"#ffe500", "#000000", "#ffe500", "#000000", "#34ff6b", "#ffffff"}},
      {"Duży druk (jasny)", {"#0b5cab", "#dcebfa", "#3a8bdd", "#ffffff", "#1b7a3f", "#111111"}},
      {"Duży druk (ciemny)", {"#5eb3ff", "#2f3b4a", "#3a8bdd", "#1e1e1e", "#7ce3a0", "#f2f2f2"}},
  };
  for (int i = 0; i < kThemeKeys.size(); ++i) {
    QTest::newRow(qPrintable(kThemeKeys[i]))
        << kThemeKeys[i] << kThemeKeys[i] << table[i].first << table[i].second;
  }
  QTest::newRow("unknown dark") << "dark"
                                << "fluent" << table[0].first << table[0].second;
  QTest::newRow("empty") << ""
                         << "fluent" << table[0].first << table[0].second;
  QTest::newRow("case differs") << "Contrast"
                                << "fluent" << table[0].first << table[0].second;
}

void ThemesTest::paletteLookup() {
  QFETCH(QString, key);
  QFETCH(QString, expectedKey);
  QFETCH(QString, name);
  QFETCH(QStringList, colours);
  const Palette& palette = PaletteFor(key);
  QCOMPARE(palette.key, expectedKey);
  QCOMPARE(palette.name, name);
  const QStringList actual = {palette.accent.name(),    palette.segment.name(),
                              palette.highlight.name(), palette.surface.name(),
                              palette.secondary.name(), palette.text.name()};
  QCOMPARE(actual, colours);
}

void ThemesTest::paletteTableOrder() {
  QStringList order;
  for (const Palette& p : Palettes()) order << p.key;
  QCOMPARE(order, kThemeKeys);
  // Built once: painted widgets may keep references between paints.
  QCOMPARE(&Palettes(), &Palettes());
  QCOMPARE(&PaletteFor("neon"), &Palettes()[1]);
}

void ThemesTest::applyThemeSetsTheFileText_data() {
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("expectedKey");
  for (const QString& key : kThemeKeys) QTest::newRow(qPrintable(key)) << key << key;
  QTest::newRow("unknown applies fluent") << "dark"
                                          << "fluent";
  QTest::newRow("empty applies fluent") << ""
                                        << "fluent";
}

void ThemesTest::applyThemeSetsTheFileText() {
  QFETCH(QString, key);
  QFETCH(QString, expectedKey);
  qApp->setStyleSheet("QWidget { color: red; }");
  ApplyTheme(key);
  QCOMPARE(CurrentThemeKey(), expectedKey);
  QCOMPARE(qApp->styleSheet(),
           QString::fromUtf8(ReadFile(program_.filePath("themes/" + expectedKey + ".qss"))));
  QVERIFY(!qApp->styleSheet().isEmpty());
}

void ThemesTest::applyThemeWithoutFileClearsTheStyleSheet() {
  QTemporaryDir empty;
  SetProgramDirForTesting(empty.path());
  qApp->setStyleSheet("QWidget { color: red; }");
  ApplyTheme("neon");
  QCOMPARE(CurrentThemeKey(), QString("neon"));
  QCOMPARE(qApp->styleSheet(), QString());
  SetProgramDirForTesting(program_.path());
}

void ThemesTest::applyThemeSkipsByteOrderMark() {
  QTemporaryDir dir;
  WriteFile(dir.filePath("themes/mono.qss"),
            QByteArray("\xEF\xBB\xBF") + "/* Czarno-biały */ QWidget { color: #000000; }");
  SetProgramDirForTesting(dir.path());
  ApplyTheme("mono");
  QCOMPARE(qApp->styleSheet(), QString::fromUtf8("/* Czarno-biały */ QWidget { color: #000000; }"));
  SetProgramDirForTesting(program_.path());
}

void ThemesTest::languageTable() {
  QStringList codes;
  for (const Language& language : Languages()) codes << language.code;
  QCOMPARE(codes,
           QStringList({"pl", "en", "de", "es", "fr", "it", "uk", "ru", "zh_CN", "ko", "ja"}));
  QCOMPARE(Languages().front().name, QString("Polski"));
  QCOMPARE(Languages()[8].name, QString::fromUtf8("中文（简体）"));
  QCOMPARE(Languages()[6].name, QString::fromUtf8("Українська"));
}

void ThemesTest::guiLanguageFromLocale_data() {
  QTest::addColumn<QString>("locale");
  QTest::addColumn<QString>("language");
  QTest::newRow("zh_TW") << "zh_TW"
                         << "zh_CN";
  QTest::newRow("zh_HK") << "zh_HK"
                         << "zh_CN";
  QTest::newRow("zh_CN") << "zh_CN"
                         << "zh_CN";
  QTest::newRow("de_AT") << "de_AT"
                         << "de";
  QTest::newRow("pt_BR") << "pt_BR"
                         << "pt";
  QTest::newRow("en_US") << "en_US"
                         << "en";
  QTest::newRow("pl_PL") << "pl_PL"
                         << "pl";
  // The C locale names no language: the program's own stands in.
  QTest::newRow("C") << "C"
                     << "pl";
  QTest::newRow("empty") << ""
                         << "pl";
  QTest::newRow("upper-case ZH is not Chinese") << "ZH_tw"
                                                << "ZH";
}

void ThemesTest::guiLanguageFromLocale() {
  QFETCH(QString, locale);
  QFETCH(QString, language);
  QCOMPARE(GuiLanguageFromLocale(locale), language);
}

void ThemesTest::currentGuiLanguageReadsThePreferenceEveryTime() {
  // main() starts the process in an Austrian German locale.
  QSettings("Velmor", "UI").remove("lang");
  QCOMPARE(QLocale::system().name(), QString("de_AT"));
  QCOMPARE(CurrentGuiLanguage(), QString("de"));
  QSettings("Velmor", "UI").setValue("lang", "ja");
  QCOMPARE(CurrentGuiLanguage(), QString("ja"));
  QSettings("Velmor", "UI").setValue("lang", "pl");
  QCOMPARE(CurrentGuiLanguage(), QString("pl"));
  QSettings("Velmor", "UI").setValue("lang", "");
  QCOMPARE(CurrentGuiLanguage(), QString("de"));
  QSettings("Velmor", "UI").remove("lang");
}

void ThemesTest::loadTranslation() {
  const QByteArray qm(reinterpret_cast<const char*>(kGermanQm), sizeof kGermanQm);
  WriteFile(program_.filePath("translations/velmor_de.qm"), qm);
  // A real translation under the Polish name must still not be read.
  WriteFile(program_.filePath("translations/velmor_pl.qm"), qm);

  QTranslator german;
  QVERIFY(LoadTranslation(german, "de"));
  QCOMPARE(german.translate("Velmor", "Zakończ"), QString("Beenden"));

  QTranslator polish;
  QVERIFY(!LoadTranslation(polish, "pl"));
  QVERIFY(polish.isEmpty());
  QVERIFY(!LoadTranslation(polish, "pl", program_.filePath("translations")));
  QVERIFY(polish.isEmpty());

  QTranslator missing;
  QVERIFY(!LoadTranslation(missing, "fr"));
  QVERIFY(missing.isEmpty());

  QTemporaryDir other;
  WriteFile(other.filePath("velmor_ja.qm"), qm);
  QTranslator fromDir;
  QVERIFY(LoadTranslation(fromDir, "ja", other.path()));
  QVERIFY(!LoadTranslation(fromDir, "ja"));  // not in the program's folder
}

void ThemesTest::textContrast_data() {
  QTest::addColumn<QString>("key");
  for (const QString& key : kThemeKeys) QTest::newRow(qPrintable(key)) << key;
}

void ThemesTest::textContrast() {
  QFETCH(QString, key);
  ApplyTheme(key);
  SamplePage page;
  page.Show();
  QWidget* top = page.window.get();
  const QImage shot = top->grab().toImage();

  struct Item {
    QString what;
    QRect area;
    double minimum;
  };
  QList<Item> items;
  for (auto it = page.labels.cbegin(); it != page.labels.cend(); ++it) {
    items.append({"label " + it.key(), WidgetBox(it.value(), top), 4.5});
  }
  for (QPushButton* button : {page.primary, page.button}) {
    items.append({"button " + button->text(), CentredTextBox(button, button->text(), top), 4.5});
  }
  // Disabled text is exempt from WCAG, but must stay readable.
  items.append({"disabled button",
                CentredTextBox(page.disabledButton, page.disabledButton->text(), top), 3.0});
  for (QCheckBox* box : {page.check, page.disabledCheck}) {
    const QFontMetrics metrics(box->font());
    const int width = metrics.horizontalAdvance(box->text()) + 8;
    QRect area(box->width() - width - 8, 0, width, box->height());
    items.append({box->isEnabled() ? "check box" : "disabled check box",
                  area.translated(box->mapTo(top, QPoint(0, 0))), box->isEnabled() ? 4.5 : 3.0});
  }
  for (int i = 0; i < 2; ++i) {
    const QFontMetrics metrics(page.tabs->font());
    QRect area(0, 0, metrics.horizontalAdvance(page.tabs->tabText(i)) + 2, metrics.height());
    area.moveCenter(page.tabs->tabRect(i).center());
    items.append({i == page.tabs->currentIndex() ? "selected tab" : "tab",
                  area.translated(page.tabs->mapTo(top, QPoint(0, 0))), 4.5});
  }
  items.append({"line edit", WidgetBox(page.edit, top).adjusted(5, 5, -5, -5), 4.5});

  QStringList report;
  for (const Item& item : items) {
    const Rendered rendered = MeasureText(shot, item.area);
    report << QString("%1 %2/%3 %4")
                  .arg(item.what, Hex(rendered.text), Hex(rendered.background))
                  .arg(rendered.ratio, 0, 'f', 2);
    QVERIFY2(rendered.ratio >= item.minimum,
             qPrintable(QString("%1, %2: %3 on %4 is %5:1")
                            .arg(key, item.what, Hex(rendered.text), Hex(rendered.background))
                            .arg(rendered.ratio, 0, 'f', 2)));
  }
  qInfo().noquote() << key << report.join("; ");
}

void ThemesTest::focusIndicator_data() {
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("control");
  for (const QString& key : kThemeKeys) {
    for (const char* control : {"button", "primary", "check", "radio", "edit", "combo", "spin",
                                "slider", "tabs", "list"}) {
      QTest::newRow(qPrintable(key + " " + control)) << key << QString(control);
    }
  }
}

void ThemesTest::focusIndicator() {
  QFETCH(QString, key);
  QFETCH(QString, control);
  ApplyTheme(key);
  SamplePage page;
  const QHash<QString, QWidget*> controls = {{"button", page.button}, {"primary", page.primary},
                                             {"check", page.check},   {"radio", page.radio},
                                             {"edit", page.edit},     {"combo", page.combo},
                                             {"spin", page.spin},     {"slider", page.slider},
                                             {"tabs", page.tabs},     {"list", page.list}};
  QWidget* target = controls.value(control);
  QVERIFY(target);
  page.Show();
  QVERIFY(QTest::qWaitForWindowActive(page.window.get()));
  QWidget* top = page.window.get();

  // The ring may sit just outside a control's own box (tabs), so look a
  // little beyond it.
  QRect area = WidgetBox(target, top).adjusted(-3, -3, 3, 3);
  QRect ringBox = WidgetBox(target, top);
  if (target == page.tabs) {
    ringBox = page.tabs->tabRect(page.tabs->currentIndex())
                  .translated(page.tabs->mapTo(top, QPoint(0, 0)));
  }

  // What lies behind the control: the card (or, for the tab bar, the window).
  const QRect lastTab = page.tabs->tabRect(page.tabs->count() - 1);
  const QPoint sample =
      target == page.tabs ? page.tabs->mapTo(top, QPoint(lastTab.right() + 6, lastTab.center().y()))
                          : page.card->mapTo(top, QPoint(page.card->width() - 6,
                                                         target->y() + target->height() / 2));
  if (target == page.tabs) QVERIFY(lastTab.right() + 6 < page.tabs->width());

  page.list->setFocus(Qt::TabFocusReason);
  if (target == page.list) page.button->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  QVERIFY(!target->hasFocus());
  const QImage before = top->grab().toImage();

  target->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  QVERIFY(target->hasFocus());
  const QImage after = top->grab().toImage();
  QCOMPARE(after.size(), before.size());

  const QRgb background = before.pixel(sample) | 0xff000000u;
  // Only the band along the edge counts: inside, focus may also select
  // text or light up a handle, which is no ring. A pixel belongs to the
  // indicator when it changed and stands out by 3:1 from what is behind the
  // control, or from what it showed before (a double ring's gap).
  const QRect inner = ringBox.adjusted(6, 6, -6, -6);
  area = area.intersected(before.rect());
  QHash<QRgb, int> ringColours;
  int ringPixels = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (inner.contains(x, y)) continue;
      const QRgb was = before.pixel(x, y) | 0xff000000u;
      const QRgb is = after.pixel(x, y) | 0xff000000u;
      if (was == is) continue;
      if (ContrastRatio(is, background) < 3.0 && ContrastRatio(is, was) < 3.0) continue;
      ++ringPixels;
      ++ringColours[is];
    }
  }
  QRgb ring = 0;
  int most = -1;
  for (auto it = ringColours.cbegin(); it != ringColours.cend(); ++it) {
    if (it.value() > most) most = it.value(), ring = it.key();
  }
  qInfo().noquote() << key << control << "ring" << Hex(ring) << "on" << Hex(background)
                    << QString::number(ContrastRatio(ring, background), 'f', 2) << ringPixels
                    << "px";
  // At least a 2 px line round most of the control (a 1 px ring has about
  // 2 * (w + h) pixels).
  const int onePixelRing = 2 * (ringBox.width() + ringBox.height());
  QVERIFY2(ringPixels >= onePixelRing * 3 / 2,
           qPrintable(QString("%1 %2: %3 pixels of focus indicator, a 1 px ring has %4")
                          .arg(key, control)
                          .arg(ringPixels)
                          .arg(onePixelRing)));
}

void ThemesTest::doubledTextIsNotCut_data() {
  QTest::addColumn<QString>("key");
  for (const QString& key : kThemeKeys) QTest::newRow(qPrintable(key)) << key;
}

// At 200 % text no control may be shorter than its text (a fixed height
// in a style sheet would cut it off).
void ThemesTest::doubledTextIsNotCut() {
  QFETCH(QString, key);
  const QString text = ThemeText(key);
  const QString doubled = DoubledTextSizes(text);
  QVERIFY(doubled != text);
  qApp->setStyleSheet(doubled);

  SamplePage page;
  page.Show();
  QList<QWidget*> widgets = {page.primary, page.button, page.check, page.radio,
                             page.edit,    page.combo,  page.spin};
  for (QLabel* label : page.labels) widgets << label;
  for (QWidget* widget : widgets) {
    // A style sheet's max-height limits the content box, so compare with
    // what the control asks for as well as with the text.
    const int needed = std::max(QFontMetrics(widget->font()).height(), widget->sizeHint().height());
    QVERIFY2(widget->height() >= needed, qPrintable(QString("%1 %2: %3 px high, its text needs %4")
                                                        .arg(key, widget->metaObject()->className())
                                                        .arg(widget->height())
                                                        .arg(needed)));
  }
  const int tabNeeded = QFontMetrics(page.tabs->font()).height();
  QVERIFY2(page.tabs->tabRect(0).height() >= tabNeeded, qPrintable(key + " tab"));
  QVERIFY2(page.list->visualItemRect(page.list->item(0)).height() >=
               QFontMetrics(page.list->font()).height(),
           qPrintable(key + " list item"));
}

// For a person to look at: VELMOR_SCREENSHOT_DIR=/some/dir saves a sample
// page per theme (the primary button focused, then the check box), and
// the large-print and contrast themes at double text size as well.
void ThemesTest::screenshots() {
  const QString dir = qEnvironmentVariable("VELMOR_SCREENSHOT_DIR");
  if (dir.isEmpty()) QSKIP("VELMOR_SCREENSHOT_DIR is not set");
  QDir().mkpath(dir);
  for (const QString& key : kThemeKeys) {
    ApplyTheme(key);
    SamplePage page;
    page.Show();
    page.primary->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QVERIFY(page.window->grab().save(QDir(dir).filePath(key + ".png")));
    page.check->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QVERIFY(page.window->grab().save(QDir(dir).filePath(key + "-check.png")));
    if (kAccessibleThemes.contains(key)) {
      qApp->setStyleSheet(DoubledTextSizes(qApp->styleSheet()));
      SamplePage doubled;
      doubled.Show();
      QVERIFY(doubled.window->grab().save(QDir(dir).filePath(key + "-200.png")));
    }
  }
}

int main(int argc, char** argv) {
  // The system locale the language tests expect when "lang" is unset.
  qputenv("LC_ALL", "de_AT.UTF-8");
  qputenv("LANG", "de_AT.UTF-8");
  QApplication app(argc, argv);
  ThemesTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "themes_test.moc"
