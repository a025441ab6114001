#include "app/dialogs/surface_panel.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/qpainter_surface.h"

namespace tessel::app {

SurfacePanel::SurfacePanel(painter_fn paint, QWidget* parent) : QWidget(parent), paint_(std::move(paint)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfacePanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  qpainter_surface surface(painter);
  // One pixel in from the right and bottom so that the frame stays inside.
  paint_(surface, view::rect_f{0, 0, static_cast<float>(width() - 1), static_cast<float>(height() - 1)});
}

void SurfacePanel::mousePressEvent(QMouseEvent* e) {
  if (click_ && e->button() == Qt::LeftButton)
    click_(static_cast<float>(e->position().x()), static_cast<float>(e->position().y()));
}

}  // namespace tessel::app
