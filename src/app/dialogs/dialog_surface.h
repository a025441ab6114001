// The panels of the dialogs draw on the core's paint surface; this one
// paints it with a QPainter on a widget.
#pragma once

#include <QPainter>

#include "view/paint_surface.h"

namespace tessel::app {

class DialogSurface final : public view::paint_surface {
 public:
  explicit DialogSurface(QPainter& painter) : p_(painter) { p_.setRenderHint(QPainter::Antialiasing, false); }

  void fill_rect(const view::rect_f& r, uint32_t color) override;
  void line(view::point_f a, view::point_f b, uint32_t color, float width, bool dashed = false) override;
  void polygon(const view::point_f* points, std::size_t count, uint32_t fill, uint32_t outline) override;
  void text(const view::rect_f& r, std::u16string_view s, const view::text_style& style) override;
  float text_width(std::u16string_view s, const view::text_style& style) override;
  void push_clip(const view::rect_f& r) override;
  void pop_clip() override;
  void image(view::marker_image m, const view::rect_f& r) override;

 private:
  QPainter& p_;
};

}  // namespace tessel::app
