// The overlay drawn with QPainter straight into the window's pixel buffer.

#include "engine/render/overlay_renderer.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <map>

#include "engine/display/wheel_geometry.h"
#include "engine/render/overlay_style.h"

namespace velmor::render {

namespace wg = wheel_geometry;

namespace {

// QFont needs a QGuiApplication. The headless engine host has none, so the
// first drawing brings up one on the offscreen platform and keeps it for the
// life of the process; a host with its own application keeps using that.
void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static char name[] = "velmor";
  static char platformFlag[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, platformFlag, platform, nullptr};
  // An explicit QT_QPA_PLATFORM is the user's choice; otherwise no display
  // server is needed just to draw into memory.
  static int argc = qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? 1 : 3;
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

const QString& UiFamily() {
  static const QString family = [] {
    const QStringList preferred = {QStringLiteral("Segoe UI"), QStringLiteral("DejaVu Sans"),
                                   QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans")};
    const QStringList installed = QFontDatabase::families();
    for (const QString& f : preferred)
      if (installed.contains(f, Qt::CaseInsensitive)) return f;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }();
  return family;
}

QFont PixelFont(int pixels, bool bold) {
  QFont font(UiFamily());
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QFont PointFont(double points) {
  QFont font(UiFamily());
  font.setPointSizeF(points);
  font.setBold(true);
  return font;
}

QColor Colour(const Rgb& c, int alpha) {
  return QColor(c.r, c.g, c.b, alpha);
}

QColor White(int alpha) {
  return QColor(255, 255, 255, alpha);
}

QRectF ToRectF(const RectI& r) {
  return QRectF(r.x, r.y, r.w, r.h);
}

// GDI+ angles run clockwise from 3 o'clock in degrees; Qt's run the other
// way in sixteenths.
int QtAngle(double clockwiseDegrees) {
  return static_cast<int>(std::lround(-clockwiseDegrees * 16));
}

// Point sizes are measured and drawn at 96 dots per inch, whatever screen
// the process has, so the window sizes do not depend on where it runs.
constexpr int kDotsPerMeter96 = 3780;

// Wraps the image's pixels: ArgbImage has exactly the layout of
// Format_ARGB32_Premultiplied, so QPainter draws into the window buffer.
QImage Wrap(platform::ArgbImage& out) {
  QImage image(reinterpret_cast<uchar*>(out.pixels.data()), out.width, out.height,
               static_cast<qsizetype>(out.width) * 4, QImage::Format_ARGB32_Premultiplied);
  image.setDotsPerMeterX(kDotsPerMeter96);
  image.setDotsPerMeterY(kDotsPerMeter96);
  return image;
}

// Decoded icons by the file they came from, failures included (a null image),
// already scaled to the size they are drawn at.
std::map<std::u16string, QImage>& IconCache() {
  static std::map<std::u16string, QImage> cache;
  return cache;
}

const QImage& Icon(const std::u16string& iconText, const std::filesystem::path& programDir) {
  const std::u16string file = ResolveIconPath(iconText, programDir).u16string();
  auto& cache = IconCache();
  auto it = cache.find(file);
  if (it != cache.end()) return it->second;
  QImage decoded(QString::fromStdU16String(file));
  QImage scaled;
  if (!decoded.isNull())
    scaled = decoded
                 .scaled(style::kIconSize, style::kIconSize, Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation)
                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return cache.emplace(file, std::move(scaled)).first->second;
}

// Text with the labels' drop shadow.
void ShadowedText(QPainter& p, const QRectF& box, const QString& text, bool hovered) {
  constexpr int flags = Qt::AlignCenter | Qt::TextWordWrap;
  p.setPen(QColor(0, 0, 0, hovered ? style::kShadowAlphaHovered : style::kShadowAlpha));
  p.drawText(box.translated(style::kShadowOffset, style::kShadowOffset), flags, text);
  p.setPen(White(hovered ? style::kLabelAlphaHovered : style::kLabelAlpha));
  p.drawText(box, flags, text);
}

void DrawSlices(QPainter& p, const WheelView& view) {
  const auto& fields = view.wheel->fields;
  const int n = static_cast<int>(fields.size());
  const QRectF ring = ToRectF(wg::kRing);
  auto slice = [&](int i) {
    if (n == 1) {
      // A single field is the whole ring, with no seam from the centre.
      QPainterPath path;
      path.addEllipse(ring);
      return path;
    }
    QPainterPath path(ring.center());
    path.arcTo(ring, -wg::SliceStartDegrees(i, n), -wg::SliceSweepDegrees(n));
    path.closeSubpath();
    return path;
  };
  p.setPen(Qt::NoPen);
  for (int i = 0; i < n; ++i) {
    const bool hovered = i == view.hoveredField;
    p.setBrush(Colour(style::FieldColor(fields[static_cast<std::size_t>(i)], view.segmentColor),
                      hovered ? style::kSliceAlphaHovered : style::kSliceAlpha));
    p.drawPath(slice(i));
  }
  // Outlines after every fill so each seam is whole; the hovered one last so
  // its brighter edge is not covered by its neighbours'.
  p.setBrush(Qt::NoBrush);
  auto outline = [&](int i, bool hovered) {
    p.setPen(QPen(White(hovered ? style::kOutlineAlphaHovered : style::kOutlineAlpha),
                  style::kSliceOutlineWidth));
    p.drawPath(slice(i));
  };
  for (int i = 0; i < n; ++i)
    if (i != view.hoveredField) outline(i, false);
  if (view.hoveredField >= 0 && view.hoveredField < n) outline(view.hoveredField, true);
}

void DrawLabels(QPainter& p, const WheelView& view) {
  const auto& fields = view.wheel->fields;
  const int n = static_cast<int>(fields.size());
  const QFont labelFont = PixelFont(LabelPixelSize(fields.size()), true);
  const QFont iconNameFont = PixelFont(style::kIconNamePixels, true);
  for (int i = 0; i < n; ++i) {
    const WheelAction& field = fields[static_cast<std::size_t>(i)];
    const bool hovered = i == view.hoveredField;
    const wg::PointD c = wg::LabelCentre(i, n);
    const QImage* icon = nullptr;
    if (!field.icon.empty()) {
      const QImage& decoded = Icon(field.icon, view.programDir);
      if (!decoded.isNull()) icon = &decoded;
    }
    if (icon != nullptr) {
      const double raise = field.name.empty() ? 0 : style::kIconRaise;
      const double half = style::kIconSize / 2.0;
      p.setOpacity(hovered ? 1.0 : style::kIconOpacity);
      p.drawImage(QRectF(c.x - half, c.y - raise - half, style::kIconSize, style::kIconSize),
                  *icon);
      p.setOpacity(1.0);
      if (!field.name.empty()) {
        p.setFont(iconNameFont);
        ShadowedText(p,
                     QRectF(c.x - style::kLabelBoxWidth / 2.0, c.y + style::kIconNameTop,
                            style::kLabelBoxWidth, style::kIconNameHeight),
                     QString::fromStdU16String(field.name), hovered);
      }
      continue;
    }
    const QString text =
        field.name.empty() ? QString::number(i + 1) : QString::fromStdU16String(field.name);
    p.setFont(labelFont);
    ShadowedText(p,
                 QRectF(c.x - style::kLabelBoxWidth / 2.0, c.y - style::kLabelBoxHeight / 2.0,
                        style::kLabelBoxWidth, style::kLabelBoxHeight),
                 text, hovered);
  }
}

void DrawPaging(QPainter& p, const WheelView& view) {
  p.setFont(PixelFont(style::kPageTextPixels, true));
  p.setPen(White(style::kPageTextAlpha));
  p.drawText(ToRectF(wg::kPageText), Qt::AlignCenter,
             QStringLiteral("%1/%2").arg(view.wheelIndex + 1).arg(view.wheelCount));
  // Triangles point away from the wheel: previous to the left, next to the right.
  static const QPointF kTriangles[2][3] = {{{40, 214}, {40, 246}, {22, 230}},
                                           {{548, 214}, {548, 246}, {566, 230}}};
  for (int a = 0; a < 2; ++a) {
    const bool hovered = view.hoveredArrow == a;
    p.setPen(QPen(White(hovered ? style::kOutlineAlphaHovered : style::kOutlineAlpha),
                  style::kControlOutlineWidth));
    p.setBrush(Colour(view.segmentColor, hovered ? style::kSliceAlphaHovered : style::kSliceAlpha));
    p.drawRect(ToRectF(wg::kArrows[a]));
    p.setPen(Qt::NoPen);
    p.setBrush(White(hovered ? style::kGlyphAlphaHovered : style::kGlyphAlpha));
    p.drawPolygon(kTriangles[a], 3);
  }
}

// The button icons are line drawings centred on their button.
void KeyboardIcon(QPainter& p, QPointF c, const QColor& colour) {
  p.setPen(QPen(colour, 1.6));
  p.setBrush(Qt::NoBrush);
  const QRectF body(c.x() - 17, c.y() - 11, 34, 22);
  p.drawRoundedRect(body, 2.5, 2.5);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  constexpr double kKey = 3.6, kGap = 2.5;
  const double left = c.x() - (5 * kKey + 4 * kGap) / 2;
  for (int row = 0; row < 2; ++row)
    for (int k = 0; k < 5; ++k)
      p.drawRect(
          QRectF(left + k * (kKey + kGap), body.top() + 3.5 + row * (kKey + 2.2), kKey, kKey));
  p.drawRect(QRectF(c.x() - 9, body.bottom() - 6, 18, 2.8));
}

void MinimiseIcon(QPainter& p, QPointF c, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawRect(QRectF(c.x() - 1.5, c.y() - 13, 3, 9));
  const QPointF triangle[3] = {{c.x() - 8, c.y() - 5}, {c.x() + 8, c.y() - 5}, {c.x(), c.y() + 4}};
  p.drawPolygon(triangle, 3);
  p.drawRoundedRect(QRectF(c.x() - 12, c.y() + 8, 24, 3.2), 1.2, 1.2);
}

void PhoneIcon(QPainter& p, QPointF c, const QColor& colour) {
  p.setPen(QPen(colour, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(c.x() - 7.5, c.y() - 13, 15, 26), 3, 3);
  p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(c.x() - 2.5, c.y() - 9), QPointF(c.x() + 2.5, c.y() - 9));
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(QPointF(c.x(), c.y() + 8.5), 1.6, 1.6);
}

void DrawButtons(QPainter& p, const WheelView& view) {
  using IconFn = void (*)(QPainter&, QPointF, const QColor&);
  static constexpr IconFn kIcons[3] = {KeyboardIcon, MinimiseIcon, PhoneIcon};
  for (int b = 0; b < 3; ++b) {
    const bool hovered = view.hoveredButtons[b];
    const QRectF r = ToRectF(wg::kButtons[b]);
    p.setPen(QPen(White(hovered ? style::kOutlineAlphaHovered : style::kOutlineAlpha),
                  style::kControlOutlineWidth));
    p.setBrush(Colour(view.segmentColor, hovered ? style::kSliceAlphaHovered : style::kSliceAlpha));
    p.drawRoundedRect(r, style::kButtonCornerRadius, style::kButtonCornerRadius);
    kIcons[b](p, r.center(), White(hovered ? style::kGlyphAlphaHovered : style::kGlyphAlpha));
  }
}

void DrawCursor(QPainter& p, const WheelView& view) {
  const double x = view.cursorX, y = view.cursorY;
  const QPointF arrow[7] = {
      {x, y},          {x, y + 23},     {x + 5.5, y + 18.5}, {x + 9.5, y + 27}, {x + 13, y + 25.5},
      {x + 9, y + 17}, {x + 16, y + 17}};
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(Qt::white);
  p.drawPolygon(arrow, 7);

  if (view.dwellProgress <= style::kDwellMinimum) return;
  const double r = style::kDwellDiameter / 2;
  const QRectF circle(x - r, y - r, style::kDwellDiameter, style::kDwellDiameter);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(White(style::kDwellTrackAlpha), style::kDwellPenWidth));
  p.drawEllipse(circle);
  p.setPen(QPen(White(style::kDwellArcAlpha), style::kDwellPenWidth));
  p.drawArc(circle, QtAngle(-90), QtAngle(std::min(view.dwellProgress, 1.0) * 360));
}

// A rounded panel with one line of centred text: the toast and the bar.
void DrawTextPanel(const std::u16string& text, double points, int padding, int height,
                   double cornerRadius, std::uint32_t fill, std::uint32_t outline,
                   std::uint32_t textColour, platform::ArgbImage& out) {
  EnsureGuiApplication();
  const QString qtext = QString::fromStdU16String(text);
  const QFont font = PointFont(points);
  // Measured against a 96-dpi image, the same the text is drawn on.
  platform::ArgbImage probe;
  probe.Reset(1, 1);
  QImage probeImage = Wrap(probe);
  const double textWidth = QFontMetricsF(font, &probeImage).horizontalAdvance(qtext);
  out.Reset(static_cast<int>(std::ceil(textWidth)) + padding, height);
  QImage image = Wrap(out);
  QPainter p(&image);
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  p.setPen(QPen(QColor::fromRgba(outline), 2));
  p.setBrush(QColor::fromRgba(fill));
  p.drawRoundedRect(QRectF(0, 0, out.width - 1, height - 1), cornerRadius, cornerRadius);
  p.setFont(font);
  p.setPen(QColor::fromRgba(textColour));
  p.drawText(QRectF(0, 0, out.width, height), Qt::AlignCenter | Qt::TextSingleLine, qtext);
}

}  // namespace

bool DrawsForReal() {
  return true;
}

void DrawWheel(const WheelView& view, platform::ArgbImage& out) {
  EnsureGuiApplication();
  out.Reset(wg::kWindowWidth, wg::kWindowHeight);
  QImage image = Wrap(out);
  QPainter p(&image);
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                   QPainter::SmoothPixmapTransform);
  if (view.wheel != nullptr && !view.wheel->fields.empty()) {
    DrawSlices(p, view);
    DrawLabels(p, view);
  }

  p.setCompositionMode(QPainter::CompositionMode_Clear);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawEllipse(ToRectF(wg::kHole));
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);

  if (view.wheelCount > 1) DrawPaging(p, view);
  if (view.wheel != nullptr && !view.wheel->name.empty()) {
    p.setFont(PixelFont(style::kWheelNamePixels, false));
    p.setPen(White(style::kWheelNameAlpha));
    p.drawText(ToRectF(wg::kWheelName), Qt::AlignCenter,
               QString::fromStdU16String(view.wheel->name));
  }
  DrawButtons(p, view);
  DrawCursor(p, view);
}

void DrawLauncher(const LauncherView& view, platform::ArgbImage& out) {
  EnsureGuiApplication();
  const int s = view.size;
  out.Reset(s, s);
  if (s <= 0) return;
  QImage image = Wrap(out);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const bool hover = view.hovering;
  const QColor fill = QColor::fromRgba(hover ? style::kLauncherFillHover : style::kLauncherFill);

  const double corner = 0.36 * s / 2;
  p.setPen(
      QPen(QColor::fromRgba(hover ? style::kLauncherOutlineHover : style::kLauncherOutline), 2));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(1, 1, s - 2, s - 2), corner, corner);

  const double inset = 0.22 * s;
  const double ringSize = s - 2 * inset;
  const QRectF ring(inset, inset, ringSize, ringSize);
  p.setPen(Qt::NoPen);
  for (int k = 0; k < 6; ++k) {
    const std::uint32_t colour =
        k % 2 == 0 ? (hover ? style::kLauncherEvenSlicesHover : style::kLauncherEvenSlices)[k / 2]
                   : (hover ? style::kLauncherOddSliceHover : style::kLauncherOddSlice);
    p.setBrush(QColor::fromRgba(colour));
    p.drawPie(ring, QtAngle(-90 + 60 * k), QtAngle(60));
  }
  const double disc = 0.34 * ringSize;
  p.setBrush(fill);
  p.drawEllipse(QRectF((s - disc) / 2, (s - disc) / 2, disc, disc));

  if (hover) {
    const double sweep = std::clamp(view.hoverProgress, 0.0, 1.0) * 360;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor::fromRgba(style::kLauncherProgress), 3));
    p.drawArc(QRectF(3.5, 3.5, s - 7, s - 7), QtAngle(-90), QtAngle(sweep));
  }
}

void DrawToast(const std::u16string& text, platform::ArgbImage& out) {
  DrawTextPanel(text, style::kToastPoints, style::kToastPadding, style::kToastHeight,
                style::kToastCornerRadius, style::kToastFill, style::kToastOutline,
                style::kToastText, out);
}

void DrawHeldKeysBar(const std::u16string& text, platform::ArgbImage& out) {
  DrawTextPanel(text, style::kBarPoints, style::kBarPadding, style::kBarHeight,
                style::kBarCornerRadius, style::kBarFill, style::kBarOutline, style::kBarText, out);
}

void ClearIconCache() {
  IconCache().clear();
}

}  // namespace velmor::render
