#include "app/ribbon_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tessel::app {
namespace {

// Every picture is drawn on a 32 x 32 grid and scaled to the size asked for.
void draw(QPainter& p, glyph g, const QColor& ink) {
  const QColor soft = QColor(ink.red(), ink.green(), ink.blue(), 60);
  QPen pen(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  auto grid = [&](QRectF r, int cols, int rows) {
    p.drawRect(r);
    for (int c = 1; c < cols; ++c) p.drawLine(QPointF(r.left() + r.width() * c / cols, r.top()), QPointF(r.left() + r.width() * c / cols, r.bottom()));
    for (int k = 1; k < rows; ++k) p.drawLine(QPointF(r.left(), r.top() + r.height() * k / rows), QPointF(r.right(), r.top() + r.height() * k / rows));
  };
  switch (g) {
    case glyph::open: {
      QPainterPath path;
      path.moveTo(4, 9); path.lineTo(12, 9); path.lineTo(14, 12); path.lineTo(28, 12); path.lineTo(28, 26); path.lineTo(4, 26);
      path.closeSubpath();
      p.fillPath(path, soft);
      p.drawPath(path);
      break;
    }
    case glyph::recent:
      p.drawEllipse(QRectF(5, 5, 22, 22));
      p.drawLine(QPointF(16, 16), QPointF(16, 9));
      p.drawLine(QPointF(16, 16), QPointF(21, 19));
      break;
    case glyph::encoding:
      p.drawRect(QRectF(5, 5, 22, 22));
      p.drawLine(QPointF(10, 22), QPointF(16, 9));
      p.drawLine(QPointF(16, 9), QPointF(22, 22));
      p.drawLine(QPointF(12, 18), QPointF(20, 18));
      break;
    case glyph::print:
      p.drawRect(QRectF(9, 4, 14, 8));
      p.fillRect(QRectF(4, 12, 24, 11), soft);
      p.drawRect(QRectF(4, 12, 24, 11));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 19, 14, 9));
      break;
    case glyph::preview:
      p.drawRect(QRectF(5, 3, 17, 23));
      p.drawEllipse(QRectF(14, 14, 10, 10));
      p.drawLine(QPointF(22.5, 22.5), QPointF(28, 28));
      break;
    case glyph::pdf:
      p.drawRect(QRectF(7, 3, 18, 26));
      p.fillRect(QRectF(7, 17, 18, 7), soft);
      p.drawLine(QPointF(11, 9), QPointF(21, 9));
      p.drawLine(QPointF(11, 13), QPointF(21, 13));
      break;
    case glyph::options:
      for (int k = 0; k < 4; ++k) {
        p.save();
        p.translate(16, 16);
        p.rotate(45.0 * k);
        p.drawLine(QPointF(-12, 0), QPointF(12, 0));
        p.restore();
      }
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(8, 8, 16, 16));
      p.drawEllipse(QRectF(13, 13, 6, 6));
      break;
    case glyph::exit:
      p.drawRect(QRectF(5, 4, 14, 24));
      p.drawLine(QPointF(14, 16), QPointF(28, 16));
      p.drawLine(QPointF(23, 11), QPointF(28, 16));
      p.drawLine(QPointF(23, 21), QPointF(28, 16));
      break;
    case glyph::details:
      p.drawRect(QRectF(4, 5, 24, 22));
      p.fillRect(QRectF(4, 18, 24, 9), soft);
      p.drawLine(QPointF(4, 18), QPointF(28, 18));
      break;
    case glyph::gantt:
      p.drawLine(QPointF(4, 4), QPointF(4, 28));
      p.fillRect(QRectF(7, 7, 12, 5), ink);
      p.fillRect(QRectF(13, 14, 12, 5), ink);
      p.fillRect(QRectF(18, 21, 10, 5), soft);
      p.drawRect(QRectF(18, 21, 10, 5));
      break;
    case glyph::table:
      p.fillRect(QRectF(4, 6, 24, 5), soft);
      grid(QRectF(4, 6, 24, 20), 3, 4);
      break;
    case glyph::predecessors:
    case glyph::successors: {
      const bool pred = g == glyph::predecessors;
      p.fillRect(QRectF(pred ? 4 : 18, 6, 10, 6), soft);
      p.drawRect(QRectF(4, 6, 10, 6));
      p.drawRect(QRectF(18, 20, 10, 6));
      p.drawLine(QPointF(9, 12), QPointF(9, 23));
      p.drawLine(QPointF(9, 23), QPointF(17, 23));
      p.drawLine(QPointF(14, 20), QPointF(17, 23));
      p.drawLine(QPointF(14, 26), QPointF(17, 23));
      break;
    }
    case glyph::expand:
    case glyph::collapse:
      p.drawRect(QRectF(6, 6, 20, 20));
      p.drawLine(QPointF(11, 16), QPointF(21, 16));
      if (g == glyph::expand) p.drawLine(QPointF(16, 11), QPointF(16, 21));
      break;
    case glyph::go_to:
      p.fillRect(QRectF(16, 12, 12, 8), soft);
      p.drawRect(QRectF(16, 12, 12, 8));
      p.drawLine(QPointF(3, 16), QPointF(13, 16));
      p.drawLine(QPointF(9, 12), QPointF(13, 16));
      p.drawLine(QPointF(9, 20), QPointF(13, 16));
      break;
    case glyph::calendar:
      p.fillRect(QRectF(4, 6, 24, 6), soft);
      grid(QRectF(4, 6, 24, 22), 4, 1);
      p.drawLine(QPointF(4, 12), QPointF(28, 12));
      p.drawLine(QPointF(4, 20), QPointF(28, 20));
      p.drawLine(QPointF(10, 3), QPointF(10, 8));
      p.drawLine(QPointF(22, 3), QPointF(22, 8));
      break;
    case glyph::help:
      p.drawEllipse(QRectF(4, 4, 24, 24));
      p.drawArc(QRectF(11, 8, 10, 9), 0 * 16, 200 * 16);
      p.drawLine(QPointF(21, 12.5), QPointF(16, 17));
      p.drawLine(QPointF(16, 17), QPointF(16, 20));
      p.drawPoint(QPointF(16, 24));
      break;
    case glyph::web:
      p.drawEllipse(QRectF(4, 4, 24, 24));
      p.drawEllipse(QRectF(10, 4, 12, 24));
      p.drawLine(QPointF(4, 16), QPointF(28, 16));
      break;
    case glyph::check:  // a sheet with a tick
      p.drawRect(QRectF(7, 4, 18, 24));
      p.drawLine(QPointF(11, 17), QPointF(15, 21));
      p.drawLine(QPointF(15, 21), QPointF(22, 11));
      break;
    case glyph::filter: {  // a funnel
      QPainterPath path;
      path.moveTo(4, 6); path.lineTo(28, 6); path.lineTo(18, 17); path.lineTo(18, 26); path.lineTo(14, 28);
      path.lineTo(14, 17);
      path.closeSubpath();
      p.fillPath(path, soft);
      p.drawPath(path);
      break;
    }
    case glyph::trace:  // three activities joined by their relationships
      p.fillRect(QRectF(3, 4, 10, 6), soft);
      p.drawRect(QRectF(3, 4, 10, 6));
      p.drawRect(QRectF(19, 13, 10, 6));
      p.drawRect(QRectF(3, 22, 10, 6));
      p.drawPolyline(QPolygonF({QPointF(13, 7), QPointF(16, 7), QPointF(16, 16), QPointF(19, 16)}));
      p.drawPolyline(QPolygonF({QPointF(24, 19), QPointF(24, 25), QPointF(13, 25)}));
      break;
  }
}

}  // namespace

QIcon glyph_icon(glyph g, const QColor& ink, int size) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pm(size * scale, size * scale);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size * scale / 32.0, size * scale / 32.0);
    draw(p, g, ink);
    p.end();
    pm.setDevicePixelRatio(scale);
    icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace tessel::app
