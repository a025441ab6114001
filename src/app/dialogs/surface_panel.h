// A widget whose whole face is drawn by a core panel painter, with clicks
// handed back in the same coordinates.
#pragma once

#include <QWidget>
#include <functional>

#include "view/paint_surface.h"

namespace tessel::app {

class SurfacePanel : public QWidget {
 public:
  using painter_fn = std::function<void(view::paint_surface&, const view::rect_f&)>;
  using click_fn = std::function<void(float x, float y)>;

  SurfacePanel(painter_fn paint, QWidget* parent = nullptr);
  void on_click(click_fn click) { click_ = std::move(click); }
  void set_minimum(QSize size) { minimum_ = size; updateGeometry(); }
  QSize sizeHint() const override { return minimum_; }
  QSize minimumSizeHint() const override { return minimum_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  painter_fn paint_;
  click_fn click_;
  QSize minimum_{100, 100};
};

}  // namespace tessel::app
