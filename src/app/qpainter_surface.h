// The paint surface of the window: view drawing turned into QPainter calls.
// Lines and polygons are anti-aliased (axis-parallel lines stay crisp),
// rectangles are filled pixel-exact, text is left-aligned, vertically
// centred and clipped to its rectangle. The views name the "Calibri" face;
// where it is not installed it is resolved to the metric-compatible Carlito.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QStaticText>
#include <optional>

#include "view/paint_surface.h"

namespace tessel::app {

// Keeps every letter of a text its own glyph: a PDF maps a ligature glyph
// back to no letters ("Activity" would be found as "Ac vity"), so printed
// text is set without ligatures.
void keep_letters(QFont& font);

// Registers the font substitutions once per process (called by the
// surface; the application calls it early so that widgets agree).
void install_font_substitutes();

class qpainter_surface final : public view::paint_surface {
 public:
  // `cache_text`: keep laid-out text between paints (screens). Printing
  // passes false: a page is drawn once and its fonts must stay vectors.
  explicit qpainter_surface(QPainter& painter, bool cache_text = true);
  ~qpainter_surface() override;

  void fill_rect(const view::rect_f& r, uint32_t color) override;
  void line(view::point_f a, view::point_f b, uint32_t color, float width, bool dashed) override;
  void polygon(const view::point_f* points, std::size_t count, uint32_t fill, uint32_t outline) override;
  void text(const view::rect_f& r, std::u16string_view s, const view::text_style& style) override;
  float text_width(std::u16string_view s, const view::text_style& style) override;
  void push_clip(const view::rect_f& r) override;
  void pop_clip() override;
  void image(view::marker_image m, const view::rect_f& r) override;

 private:
  // The font and metrics of a style; the last one asked for is kept, since
  // a paint uses a handful of styles many times in a row.
  const QFontMetricsF& use_style(const view::text_style& style);

  // The laid-out text of `s` in the current style (from the cache).
  const QStaticText& laid_out(std::u16string_view s);

  QPainter& p_;
  bool cache_text_ = true;
  int depth_ = 0;
  view::text_style cached_style_;
  std::optional<QFont> font_;
  std::optional<QFontMetricsF> metrics_;
};

// QColor of a 32-bit alpha-red-green-blue value, painted opaque.
QColor color_of(uint32_t argb);

}  // namespace tessel::app
