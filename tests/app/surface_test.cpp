// The QPainter surface drawn into an image and read back pixel by pixel.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <tuple>

#include "app/qpainter_surface.h"

namespace tessel::app {
namespace {

class Surface : public ::testing::Test {
 protected:
  Surface() : image(200, 100, QImage::Format_RGB32) { image.fill(Qt::white); }

  // Paints through a fresh surface; the painter ends before the image is read.
  template <class F>
  void paint(F&& f, bool cache = true) {
    QPainter p(&image);
    qpainter_surface s(p, cache);
    f(s);
  }
  QRgb at(int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }
  void expect_pixels(std::initializer_list<std::tuple<int, int, QRgb>> want) const {
    for (const auto& [x, y, colour] : want) EXPECT_EQ(at(x, y), colour) << x << "," << y;
  }
  // Pixels that are not white inside [x0,x1) x [y0,y1).
  int ink(int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += at(x, y) != 0xFFFFFF;
    return n;
  }

  QImage image;
};

// Rectangles are filled pixel-exact and opaque; clips nest and pop back.
TEST_F(Surface, RectanglesFillPixelExactAndOpaqueWithinNestedClips) {
  paint([](qpainter_surface& s) {
    s.fill_rect({10, 10, 20, 5}, 0x00123456u);  // alpha byte ignored
    s.push_clip({0, 0, 100, 100});
    s.push_clip({50, 0, 100, 100});  // intersected: 50..100
    s.fill_rect({0, 0, 200, 10}, view::rgb(255, 0, 0));
    s.pop_clip();
    s.fill_rect({0, 20, 200, 10}, view::rgb(0, 0, 255));
    s.pop_clip();
    s.pop_clip();  // one too many does nothing
    s.fill_rect({0, 40, 200, 10}, view::rgb(0, 255, 0));
  });
  expect_pixels({{10, 10, 0x123456}, {29, 14, 0x123456}, {30, 14, 0xFFFFFF}, {29, 15, 0xFFFFFF}, {9, 10, 0xFFFFFF}});
  expect_pixels({{49, 5, 0xFFFFFF}, {50, 5, 0xFF0000}, {100, 5, 0xFFFFFF}, {0, 25, 0x0000FF}, {100, 25, 0xFFFFFF},
                 {199, 45, 0x00FF00}});
}

// Calibri is drawn with its metric-compatible face, and a text's width is
// that face's advance with and without the cache.
TEST_F(Surface, CalibriFaceAndTextWidthWithAndWithoutTheCache) {
  install_font_substitutes();
  QFont f(QStringLiteral("Calibri"));
  f.setPixelSize(15);
  const QString family = QFontInfo(f).family();
  EXPECT_TRUE(family == "Calibri" || family == "Carlito") << family.toStdString();
  view::text_style style;
  view::text_style bold = style;
  bold.bold = true;
  QPainter p(&image);
  qpainter_surface cached(p, true);
  const float w = cached.text_width(u"Notice to Proceed", style);
  EXPECT_NEAR(w, QFontMetricsF(f).horizontalAdvance("Notice to Proceed"), 1.0);
  EXPECT_GT(cached.text_width(u"Notice to Proceed", bold), w);  // the style is part of the key
  EXPECT_FLOAT_EQ(cached.text_width(u"", style), 0.0f);
  p.end();
  QPainter q(&image);
  qpainter_surface plain(q, false);
  EXPECT_NEAR(plain.text_width(u"Notice to Proceed", style), w, 1.0);
}

TEST_F(Surface, TextStaysInsideItsRectangleAndIsVerticallyCentred) {
  for (bool cache : {true, false}) {
    image.fill(Qt::white);
    const std::u16string long_text = u"A long activity name that is much wider than its cell";
    paint([&](qpainter_surface& s) { s.text({20, 30, 60, 20}, long_text, view::text_style{}); }, cache);
    EXPECT_GT(ink(20, 30, 80, 50), 20) << cache;
    EXPECT_EQ(ink(0, 0, 200, 100), ink(20, 30, 80, 50)) << cache;  // none outside the rectangle
    // Ink sits about the middle: as much room above as below.
    int top = 100, bottom = -1;
    for (int y = 30; y < 50; ++y)
      for (int x = 20; x < 80; ++x)
        if (at(x, y) != 0xFFFFFF) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    EXPECT_LE(std::abs((top - 30) - (49 - bottom)), 4) << top << " " << bottom;
  }
}

TEST_F(Surface, LinesPolygonsAndMarkers) {
  paint([](qpainter_surface& s) {
    s.line({0, 5}, {199, 5}, view::rgb(0, 0, 0), 1.0f, true);
    s.line({0, 15}, {199, 15}, view::rgb(0, 0, 0), 1.0f, false);
    const view::point_f tri[] = {{20, 30}, {40, 30}, {30, 50}};
    s.polygon(tri, 3, view::rgb(0, 128, 0), view::rgb(0, 0, 0));
    s.image(view::marker_image::blue_selected, {100, 30, 14, 14});
  });
  // A dashed line has gaps, a solid one none.
  EXPECT_GT(ink(0, 5, 200, 6), 60);
  EXPECT_LT(ink(0, 5, 200, 6), 180);
  EXPECT_EQ(ink(0, 15, 199, 16), 199);  // the end point itself is not drawn
  EXPECT_EQ(at(30, 36), 0x008000u);
  // The marker fills its own box and nothing beside it.
  EXPECT_NE(at(107, 37), 0xFFFFFFu);
  EXPECT_EQ(at(100, 30), 0x3399FFu);  // selected: on the selection colour
  EXPECT_EQ(ink(115, 30, 130, 44), 0);
}

}  // namespace
}  // namespace tessel::app
