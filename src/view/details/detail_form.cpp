#include "view/details/detail_form.h"

#include <algorithm>
#include <cmath>

#include "view/display_scale.h"

namespace tessel::view {
namespace {

namespace fm = form_metrics;

// Whole-pixel edges keep 1-pixel outlines crisp at fractional scales.
rect_f snapped(const rect_f& r) {
  const float x = std::round(r.x);
  const float y = std::round(r.y);
  return {x, y, std::round(r.right()) - x, std::round(r.bottom()) - y};
}

void outline(paint_surface& surface, const rect_f& box, uint32_t color) {
  const rect_f r = snapped(box);
  surface.line({r.x, r.y}, {r.right(), r.y}, color, 1.0f);
  surface.line({r.right(), r.y}, {r.right(), r.bottom()}, color, 1.0f);
  surface.line({r.right(), r.bottom()}, {r.x, r.bottom()}, color, 1.0f);
  surface.line({r.x, r.bottom()}, {r.x, r.y}, color, 1.0f);
}

// A value in its outlined box; the text keeps clear of the outline.
void value_box(paint_surface& surface, const rect_f& box, std::u16string_view value, const text_style& style) {
  outline(surface, box, form_box_outline);
  if (value.empty()) return;
  const float inset = fm::text_inset * display_scale();
  surface.text({box.x + inset, box.y, std::max(0.0f, box.w - 2 * inset), box.h}, value, style);
}

}  // namespace

text_style form_text_style() {
  text_style style;
  style.pixel_height = static_cast<int>(15.0f * display_scale());
  return style;
}

float form_column::width() const { return caption_width + fm::caption_gap * display_scale() + box_width; }

form_column fit_form_column(paint_surface& surface, std::span<const form_field> fields, float box_width) {
  const text_style style = form_text_style();
  form_column column;
  for (const form_field& f : fields) {
    column.caption_width = std::max(column.caption_width, std::ceil(surface.text_width(f.caption, style)));
  }
  column.box_width = box_width * display_scale();
  return column;
}

float form_lines_height(std::size_t count) {
  if (count == 0) return 0.0f;
  const float s = display_scale();
  return static_cast<float>(count - 1) * fm::line_height * s + fm::box_height * s;
}

void draw_form_column(paint_surface& surface, point_f origin, const form_column& column,
                      std::span<const form_field> fields) {
  const float s = display_scale();
  const text_style style = form_text_style();
  const float box_x = origin.x + column.caption_width + fm::caption_gap * s;
  float y = origin.y;
  for (const form_field& f : fields) {
    // Right-aligned captions line up against their boxes.
    const float w = std::min(column.caption_width, surface.text_width(f.caption, style));
    surface.text({origin.x + column.caption_width - w, y, w + 1.0f, fm::box_height * s}, f.caption, style);
    value_box(surface, {box_x, y, column.box_width, fm::box_height * s}, f.value, style);
    y += fm::line_height * s;
  }
}

rect_f form_group_rect(point_f origin, const form_column& column, std::size_t count) {
  const float s = display_scale();
  return {origin.x, origin.y, column.width() + 2 * fm::group_padding * s,
          fm::group_caption_band * s + form_lines_height(count) + fm::group_padding * s};
}

rect_f draw_form_group(paint_surface& surface, point_f origin, std::u16string_view caption,
                       const form_column& column, std::span<const form_field> fields) {
  const float s = display_scale();
  const rect_f frame = form_group_rect(origin, column, fields.size());
  outline(surface, frame, form_frame_outline);
  // The caption interrupts the top edge: a white band behind it hides the line.
  const text_style style = form_text_style();
  const float pad = 4.0f * s;
  const float cw = surface.text_width(caption, style);
  const float h = static_cast<float>(style.pixel_height) + 4.0f * s;
  const rect_f band{frame.x + fm::group_padding * s - pad, frame.y - h / 2, cw + 2 * pad, h};
  surface.fill_rect(band, rgb(255, 255, 255));
  surface.text({band.x + pad, band.y, cw + 1.0f, h}, caption, style);
  draw_form_column(surface, {frame.x + fm::group_padding * s, frame.y + fm::group_caption_band * s}, column,
                   fields);
  return frame;
}

float draw_form_title(paint_surface& surface, point_f origin, std::u16string_view caption,
                      std::span<const title_part> parts) {
  const float s = display_scale();
  const text_style style = form_text_style();
  const float h = fm::box_height * s;
  const float cw = std::ceil(surface.text_width(caption, style));
  surface.text({origin.x, origin.y, cw + 1.0f, h}, caption, style);
  float x = origin.x + cw + fm::caption_gap * s;
  for (const title_part& p : parts) {
    const float w = p.box_width * s;
    value_box(surface, {x, origin.y, w, h}, p.value, style);
    x += w + fm::caption_gap * s;
  }
  return h;
}

}  // namespace tessel::view
