#include "app/dialogs/dialog_surface.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <vector>

namespace tessel::app {

namespace {

QColor color_of(uint32_t argb) { return QColor::fromRgb(argb & 0xFFFFFFu); }

QRectF rect_of(const view::rect_f& r) { return QRectF(r.x, r.y, r.w, r.h); }

QString qstring(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

QFont font_of(const view::text_style& st) {
  QFont f(qstring(st.family));
  f.setPixelSize(st.pixel_height);
  f.setBold(st.bold);
  return f;
}

}  // namespace

void DialogSurface::fill_rect(const view::rect_f& r, uint32_t color) { p_.fillRect(rect_of(r), color_of(color)); }

void DialogSurface::line(view::point_f a, view::point_f b, uint32_t color, float width, bool dashed) {
  QPen pen(color_of(color), width);
  pen.setCapStyle(Qt::FlatCap);
  if (dashed) pen.setStyle(Qt::DashLine);
  p_.setPen(pen);
  p_.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
}

void DialogSurface::polygon(const view::point_f* points, std::size_t count, uint32_t fill, uint32_t outline) {
  QPolygonF poly;
  for (std::size_t i = 0; i < count; ++i) poly << QPointF(points[i].x, points[i].y);
  p_.save();
  p_.setRenderHint(QPainter::Antialiasing, true);
  p_.setPen(QPen(color_of(outline), 1));
  p_.setBrush(color_of(fill));
  p_.drawPolygon(poly);
  p_.restore();
}

void DialogSurface::text(const view::rect_f& r, std::u16string_view s, const view::text_style& style) {
  p_.setFont(font_of(style));
  p_.setPen(color_of(style.color));
  p_.drawText(rect_of(r), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, qstring(s));
}

float DialogSurface::text_width(std::u16string_view s, const view::text_style& style) {
  return static_cast<float>(QFontMetricsF(font_of(style)).horizontalAdvance(qstring(s)));
}

void DialogSurface::push_clip(const view::rect_f& r) {
  p_.save();
  p_.setClipRect(rect_of(r), p_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void DialogSurface::pop_clip() { p_.restore(); }

void DialogSurface::image(view::marker_image, const view::rect_f& r) { p_.fillRect(rect_of(r), Qt::gray); }

}  // namespace tessel::app
