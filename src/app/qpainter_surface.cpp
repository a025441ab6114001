#include "app/qpainter_surface.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <mutex>
#include <unordered_map>

namespace tessel::app {
namespace {

QString qstr(std::u16string_view s) {
  return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

QRectF qrect(const view::rect_f& r) { return QRectF(r.x, r.y, r.w, r.h); }

// Laid-out cell texts, kept across paints: a screen shows mostly the same
// texts frame after frame, and laying text out is most of a paint's cost.
// Keyed by style and text; emptied when it grows large, so it stays bounded
// however far the user scrolls. Used on the window's thread only.
struct text_cache {
  std::unordered_map<std::u16string, QStaticText> entries;
  std::u16string key;
};

text_cache& cache() {
  static text_cache c;
  return c;
}

constexpr std::size_t cache_limit = 20000;

}  // namespace

void install_font_substitutes() {
  static std::once_flag once;
  std::call_once(once, [] { QFont::insertSubstitution(QStringLiteral("Calibri"), QStringLiteral("Carlito")); });
}

QColor color_of(uint32_t argb) { return QColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

qpainter_surface::qpainter_surface(QPainter& painter, bool cache_text) : p_(painter), cache_text_(cache_text) {
  install_font_substitutes();
  p_.save();
  p_.setRenderHint(QPainter::Antialiasing, false);
  p_.setRenderHint(QPainter::TextAntialiasing, true);
}

qpainter_surface::~qpainter_surface() {
  while (depth_ > 0) pop_clip();
  p_.restore();
}

void qpainter_surface::fill_rect(const view::rect_f& r, uint32_t color) {
  if (r.w <= 0.0f || r.h <= 0.0f) return;
  p_.fillRect(qrect(r), color_of(color));
}

void qpainter_surface::line(view::point_f a, view::point_f b, uint32_t color, float width, bool dashed) {
  QPen pen(color_of(color));
  pen.setWidthF(width > 0.0f ? width : 1.0f);
  pen.setCapStyle(Qt::FlatCap);
  if (dashed) pen.setStyle(Qt::DashLine);
  // Grid and frame lines run along pixel rows and columns: drawn without
  // smoothing they stay one sharp pixel wide instead of two grey ones.
  const bool axis = a.x == b.x || a.y == b.y;
  p_.setRenderHint(QPainter::Antialiasing, !axis);
  p_.setPen(pen);
  p_.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
  p_.setRenderHint(QPainter::Antialiasing, false);
}

void qpainter_surface::polygon(const view::point_f* points, std::size_t count, uint32_t fill, uint32_t outline) {
  if (count < 2) return;
  QPolygonF poly;
  poly.reserve(static_cast<qsizetype>(count));
  for (std::size_t i = 0; i < count; ++i) poly << QPointF(points[i].x, points[i].y);
  p_.setRenderHint(QPainter::Antialiasing, true);
  p_.setPen(QPen(color_of(outline), 1.0));
  p_.setBrush(color_of(fill));
  p_.drawPolygon(poly);
  p_.setBrush(Qt::NoBrush);
  p_.setRenderHint(QPainter::Antialiasing, false);
}

void keep_letters(QFont& font) {
  // Text shaped with any letter spacing is set without ligatures; a
  // twentieth of a pixel a letter is not seen.
  font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
}

const QFontMetricsF& qpainter_surface::use_style(const view::text_style& style) {
  if (!font_ || style.family != cached_style_.family || style.pixel_height != cached_style_.pixel_height ||
      style.bold != cached_style_.bold) {
    QFont f(qstr(style.family));
    f.setPixelSize(style.pixel_height > 0 ? style.pixel_height : 1);
    f.setBold(style.bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    // Printed text must be found again by searching the page.
    if (!cache_text_) keep_letters(f);
    font_ = f;
    metrics_.emplace(f);
    cached_style_ = style;
  }
  return *metrics_;
}

const QStaticText& qpainter_surface::laid_out(std::u16string_view s) {
  text_cache& c = cache();
  c.key.assign(cached_style_.family);
  c.key.push_back(static_cast<char16_t>(cached_style_.pixel_height));
  c.key.push_back(cached_style_.bold ? u'b' : u'r');
  c.key.append(s);
  auto it = c.entries.find(c.key);
  if (it != c.entries.end()) return it->second;
  if (c.entries.size() >= cache_limit) c.entries.clear();
  QStaticText st(qstr(s));
  st.setTextFormat(Qt::PlainText);
  st.setTextWidth(-1);
  st.prepare(QTransform(), *font_);
  return c.entries.emplace(c.key, std::move(st)).first->second;
}

void qpainter_surface::text(const view::rect_f& r, std::u16string_view s, const view::text_style& style) {
  if (s.empty() || r.w <= 0.0f || r.h <= 0.0f) return;
  const QFontMetricsF& fm = use_style(style);
  p_.setFont(*font_);
  p_.setPen(color_of(style.color));
  if (cache_text_ && p_.transform().isIdentity()) {
    const QStaticText& st = laid_out(s);
    const bool clip = st.size().width() > r.w || fm.height() > r.h;
    if (clip) {
      p_.save();
      p_.setClipRect(qrect(r), Qt::IntersectClip);
    }
    p_.drawStaticText(QPointF(r.x, r.y + (r.h - fm.height()) / 2.0), st);
    if (clip) p_.restore();
    return;
  }
  const QString t = qstr(s);
  // Most cells fit: only text wider or taller than its box pays for a clip.
  const bool clip = fm.horizontalAdvance(t) > r.w || fm.height() > r.h;
  if (clip) {
    p_.save();
    p_.setClipRect(qrect(r), Qt::IntersectClip);
  }
  const qreal baseline = r.y + (r.h - fm.height()) / 2.0 + fm.ascent();
  p_.drawText(QPointF(r.x, baseline), t);
  if (clip) p_.restore();
}

float qpainter_surface::text_width(std::u16string_view s, const view::text_style& style) {
  if (s.empty()) return 0.0f;
  const QFontMetricsF& fm = use_style(style);
  if (cache_text_) return static_cast<float>(laid_out(s).size().width());
  return static_cast<float>(fm.horizontalAdvance(qstr(s)));
}

void qpainter_surface::push_clip(const view::rect_f& r) {
  p_.save();
  p_.setClipRect(qrect(r), Qt::IntersectClip);
  ++depth_;
}

void qpainter_surface::pop_clip() {
  if (depth_ == 0) return;
  p_.restore();
  --depth_;
}

void qpainter_surface::image(view::marker_image m, const view::rect_f& r) {
  static const QColor colors[] = {QColor(220, 38, 38), QColor(234, 179, 8), QColor(22, 163, 74),
                                  QColor(37, 99, 235)};
  const int index = static_cast<int>(m);
  const bool selected = index >= 4;
  p_.fillRect(qrect(r), selected ? QColor(51, 153, 255) : QColor(Qt::white));  // the selection colour
  const qreal d = std::min(r.w, r.h) * 0.72;
  const QRectF dot(r.x + (r.w - d) / 2.0, r.y + (r.h - d) / 2.0, d, d);
  p_.setRenderHint(QPainter::Antialiasing, true);
  const QColor c = colors[index % 4];
  p_.setPen(QPen(c.darker(130), 1.0));
  p_.setBrush(c);
  p_.drawEllipse(dot);
  p_.setBrush(Qt::NoBrush);
  p_.setRenderHint(QPainter::Antialiasing, false);
}

}  // namespace tessel::app
