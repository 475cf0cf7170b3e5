// velmor-render-samples OUTDIR: draws the overlay windows in the states a
// user sees them and writes each as a PNG, alone and over a grey checker so
// the translucent parts show.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/render/overlay_renderer.h"

namespace {

namespace fs = std::filesystem;
using velmor::Rgb;
using velmor::Wheel;
using velmor::WheelAction;
using velmor::platform::ArgbImage;

QImage ToQImage(const ArgbImage& img) {
  QImage q(img.width, img.height, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) q.setPixel(x, y, img.At(x, y));
  return q;
}

bool Save(const ArgbImage& img, const fs::path& dir, const std::string& name) {
  const QImage picture = ToQImage(img);
  QImage over(picture.size(), QImage::Format_RGB32);
  QPainter p(&over);
  for (int y = 0; y < over.height(); y += 16)
    for (int x = 0; x < over.width(); x += 16)
      p.fillRect(x, y, 16, 16, ((x + y) / 16) % 2 ? QColor(96, 96, 96) : QColor(140, 140, 140));
  p.drawImage(0, 0, picture);
  p.end();
  return picture.save(QString::fromStdString((dir / (name + ".png")).string())) &&
         over.save(QString::fromStdString((dir / (name + "-over-grey.png")).string()));
}

Wheel MakeWheel(int n, bool icons, bool colours) {
  static const Rgb palette[] = {{0xE7, 0x4C, 0x3C}, {0x2E, 0xCC, 0x71}, {0xF1, 0xC4, 0x0F},
                                {0x9B, 0x59, 0xB6}, {0x1A, 0xBC, 0x9C}, {0xE6, 0x7E, 0x22}};
  Wheel w;
  w.name = u"Próbka";
  for (int i = 0; i < n; ++i) {
    WheelAction f;
    const std::string name = i % 5 == 4 ? "" : "Pole " + std::to_string(i + 1);
    f.name = std::u16string(name.begin(), name.end());
    if (icons && i % 2 == 0) f.icon = u"icons/sample.png";
    if (colours && i % 3 == 0) {
      f.color = palette[i % 6];
      f.hasColor = true;
    }
    w.fields.push_back(f);
  }
  return w;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: velmor-render-samples OUTDIR\n", stderr);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  const fs::path out = argv[1];
  fs::create_directories(out / "icons");
  {
    // A small two-colour icon, as a user's would be.
    QImage icon(64, 64, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 220, 80));
    p.setPen(QPen(QColor(60, 40, 0), 4));
    p.drawEllipse(6, 6, 52, 52);
    p.end();
    icon.save(QString::fromStdString((out / "icons" / "sample.png").string()));
  }
  bool ok = true;
  ArgbImage img;
  velmor::render::WheelView view;
  view.programDir = out;
  struct Variant {
    const char* name;
    int fields;
    bool icons, colours;
    int hovered;
    std::size_t wheels;
    double dwell;
  };
  const Variant variants[] = {
      {"wheel-1", 1, false, false, -1, 1, 0},      {"wheel-6", 6, false, true, 2, 1, 0},
      {"wheel-8-icons", 8, true, true, 0, 1, 0},   {"wheel-8-plain", 8, false, false, -1, 1, 0},
      {"wheel-24-icons", 24, true, true, 5, 3, 0}, {"wheel-6-dwell", 6, true, false, 1, 2, 0.6},
  };
  for (const auto& v : variants) {
    const Wheel w = MakeWheel(v.fields, v.icons, v.colours);
    view.wheel = &w;
    view.wheelCount = v.wheels;
    view.wheelIndex = v.wheels > 1 ? 1 : 0;
    view.hoveredField = v.hovered;
    view.hoveredArrow = v.wheels > 1 ? 1 : -1;
    view.hoveredButtons[1] = v.hovered >= 0;
    view.dwellProgress = v.dwell;
    view.cursorX = v.hovered >= 0 ? 380 : 294;
    view.cursorY = v.hovered >= 0 ? 150 : 230;
    velmor::render::DrawWheel(view, img);
    ok &= Save(img, out, v.name);
  }
  // The segment colours the palettes give, and the default.
  const Rgb segments[] = {{0x34, 0x98, 0xDB}, {0xE6, 0xF1, 0xFB}, {0x1B, 0x23, 0x40},
                          {0x2C, 0x2F, 0x38}, {0xE8, 0xE8, 0xE8}, {0x00, 0x00, 0x00},
                          {0xDC, 0xEB, 0xFA}, {0x2F, 0x3B, 0x4A}};
  const Wheel eight = MakeWheel(8, false, false);
  for (const Rgb& c : segments) {
    view = {};
    view.wheel = &eight;
    view.wheelCount = 2;
    view.segmentColor = c;
    view.hoveredField = 3;
    view.programDir = out;
    velmor::render::DrawWheel(view, img);
    char name[32];
    std::snprintf(name, sizeof name, "segment-%02X%02X%02X", c.r, c.g, c.b);
    ok &= Save(img, out, name);
  }
  for (bool hovering : {false, true}) {
    velmor::render::DrawLauncher({64, hovering, hovering ? 0.4 : 0}, img);
    ok &= Save(img, out, hovering ? "launcher-hover" : "launcher");
  }
  velmor::render::DrawToast(u"pokaż koło · 93%", img);
  ok &= Save(img, out, "toast");
  velmor::render::DrawHeldKeysBar(u"Wciśnięte:   Shift   W", img);
  ok &= Save(img, out, "held-keys-bar");
  std::printf("%s\n", ok ? "samples written" : "some samples could not be written");
  return ok ? 0 : 1;
}
