#include "gui/voice/gaze_page.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/core/overlay_api.h"
#include "gui/shell/style_hooks.h"
#include "gui/voice/settings_file.h"

namespace velmor::gui {

namespace {

constexpr int kDefaultDwellMs = 900;
constexpr int kStatusIntervalMs = 1500;

}  // namespace

GazePage::GazePage(QWidget* parent) : QWidget(parent) {
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(18, 18, 18, 18);
  page->setSpacing(10);

  auto* title = RoleLabel(tr("Sterowanie wzrokiem"), "pageTitle", this);
  page->addWidget(title);
  setAccessibleName(title->text());

  QVBoxLayout* statusLayout = nullptr;
  page->addWidget(MakeCard(this, &statusLayout, tr("Tobii Eye Tracker")));
  status_ = RoleLabel(QString(), "ok", this);
  status_->setObjectName(QStringLiteral("gazeStatus"));
  statusLayout->addWidget(status_);

  QVBoxLayout* settingsLayout = nullptr;
  QFrame* settingsCard = MakeCard(this, &settingsLayout);
  page->addWidget(settingsCard);
  enabled_ = new QCheckBox(tr("Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte"), this);
  enabled_->setObjectName(QStringLiteral("gazeEnabled"));
  enabled_->setAccessibleName(enabled_->text());
  enabled_->setFocusPolicy(Qt::StrongFocus);
  settingsLayout->addWidget(enabled_);

  auto* dwellTitle = RoleLabel(tr("Czas wyboru spojrzeniem (dwell)"), "cardTitle", this);
  settingsCard->setAccessibleName(dwellTitle->text());
  settingsLayout->addWidget(dwellTitle);
  auto* row = new QHBoxLayout;
  dwell_ = new QSlider(Qt::Horizontal, this);
  dwell_->setObjectName(QStringLiteral("gazeDwell"));
  dwell_->setRange(0, 3000);
  dwell_->setSingleStep(50);
  dwell_->setPageStep(100);
  dwell_->setFocusPolicy(Qt::StrongFocus);
  dwell_->setAccessibleName(dwellTitle->text());
  // The title names the slider for screen readers (the label relation).
  dwellTitle->setBuddy(dwell_);
  row->addWidget(dwell_, 1);
  dwellValue_ = RoleLabel(QString(), "value", this);
  dwellValue_->setObjectName(QStringLiteral("gazeDwellValue"));
  dwellValue_->setMinimumWidth(140);
  row->addWidget(dwellValue_);
  settingsLayout->addLayout(row);

  auto* help = RoleLabel(
      tr("Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór "
         "spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą \"kliknij\"."),
      "cardTitle", this);
  help->setWordWrap(true);
  settingsLayout->addWidget(help);
  page->addStretch(1);

  // Labels read out their own text; the two controls are named for screen
  // readers, which show the accessible name, not the object name.

  setTabOrder(enabled_, dwell_);

  connect(dwell_, &QSlider::valueChanged, this, [this] {
    UpdateValueLabel();
    // Keyboard, switch and wheel steps save at once; a drag saves once, on
    // release, instead of on every pixel.
    if (!dwell_->isSliderDown()) Save();
  });
  connect(dwell_, &QSlider::sliderReleased, this, &GazePage::Save);
  connect(enabled_, &QCheckBox::toggled, this, &GazePage::Save);

  Load();

  UpdateStatus();
  statusTimer_ = new QTimer(this);
  statusTimer_->setInterval(kStatusIntervalMs);
  connect(statusTimer_, &QTimer::timeout, this, &GazePage::UpdateStatus);
  statusTimer_->start();
}

void GazePage::Load() {
  loading_ = true;
  const QJsonObject settings = ReadSettingsFile();
  enabled_->setChecked(settings.value(QLatin1String("gazeEnabled")).toBool(true));
  dwell_->setValue(settings.value(QLatin1String("gazeDwell")).toInt(kDefaultDwellMs));
  loading_ = false;
  UpdateValueLabel();
}

void GazePage::Save() {
  if (loading_) return;
  const bool enabled = enabled_->isChecked();
  const int dwell = dwell_->value();
  UpdateSettingsFile([&](QJsonObject& settings) {
    settings.insert(QLatin1String("gazeEnabled"), enabled);
    settings.insert(QLatin1String("gazeDwell"), dwell);
  });
}

void GazePage::UpdateValueLabel() {
  const int v = dwell_->value();
  dwellValue_->setText(v <= 0 ? tr("tylko kliknięcie") : tr("%1 ms").arg(v));
}

void GazePage::UpdateStatus() {
  status_->setText(QString::fromUtf16(OverlayGazeStatus()));
}

}  // namespace velmor::gui
