// How the Details pane lays out a record: captions in a right-aligned
// column, each value in an outlined box to its right, one line per field;
// related fields may stand in a framed group whose caption sits on the
// frame's top edge. Measures are given at 96 dpi and scaled here, so the
// form keeps its proportions at every display scale; the caption column is
// as wide as its widest caption in the surface's font.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "view/paint_surface.h"

namespace tessel::view {

// One captioned value.
struct form_field {
  std::u16string_view caption;
  std::u16string value;
};

// Unscaled measures of the form.
namespace form_metrics {
inline constexpr float margin = 10.0f;          // from the strip and the pane's left edge
inline constexpr float line_height = 26.0f;     // one field line
inline constexpr float box_height = 21.0f;      // a value box inside its line
inline constexpr float text_inset = 5.0f;       // value text inside its box
inline constexpr float caption_gap = 8.0f;      // caption's right end to its box
inline constexpr float column_gap = 28.0f;      // between two field columns or groups
inline constexpr float group_padding = 10.0f;   // frame to the fields inside
inline constexpr float group_caption_band = 14.0f;  // room above the first line for the caption
}  // namespace form_metrics

// Colours of the form's outlines.
inline constexpr uint32_t form_box_outline = rgb(122, 122, 122);
inline constexpr uint32_t form_frame_outline = rgb(190, 190, 190);

// The text style of captions and values at the current display scale.
text_style form_text_style();

// A column of fields in scaled pixels.
struct form_column {
  float caption_width = 0.0f;
  float box_width = 0.0f;
  float width() const;
};

// A column whose caption part fits the widest of `fields`' captions and
// whose boxes are `box_width` wide (unscaled).
form_column fit_form_column(paint_surface& surface, std::span<const form_field> fields, float box_width);

// Scaled height of `count` field lines.
float form_lines_height(std::size_t count);

// Draws a field column with its top-left at `origin` (client pixels).
void draw_form_column(paint_surface& surface, point_f origin, const form_column& column,
                      std::span<const form_field> fields);

// Draws a framed group, top-left at `origin`, with `caption` on its top
// edge and the fields inside; answers the frame (client pixels).
rect_f draw_form_group(paint_surface& surface, point_f origin, std::u16string_view caption,
                       const form_column& column, std::span<const form_field> fields);
// The frame a group of `count` fields in `column` takes at `origin`.
rect_f form_group_rect(point_f origin, const form_column& column, std::size_t count);

// The title line: `caption`, then each value in a box of its unscaled
// width. Answers the line's scaled height.
struct title_part {
  std::u16string value;
  float box_width = 0.0f;
};
float draw_form_title(paint_surface& surface, point_f origin, std::u16string_view caption,
                      std::span<const title_part> parts);

}  // namespace tessel::view
