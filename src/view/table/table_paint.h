// The drawing pieces every table shares: its palette, its sizes at the
// current display scale, the header band, cell texts and the lines that
// close a table. The grouped tables add bands, expand boxes and markers on
// top; the detail sub-tables draw with these pieces alone.
//
// Positions handed in are content coordinates; every function subtracts the
// scroll offsets it is given before it draws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "view/paint_surface.h"

namespace tessel::view {

namespace table_colors {
inline constexpr uint32_t background = rgb(255, 255, 255);  // also expand box fill, selected text
inline constexpr uint32_t header = rgb(240, 240, 240);
inline constexpr uint32_t selection = rgb(51, 153, 255);
inline constexpr uint32_t grid = rgb(100, 100, 100);
inline constexpr uint32_t separator = rgb(200, 200, 200);
inline constexpr uint32_t sort_arrow = rgb(50, 50, 50);
inline constexpr uint32_t text = rgb(0, 0, 0);
inline constexpr uint32_t traced = rgb(230, 120, 0);  // the mark of the activity a trace starts from
}  // namespace table_colors

// Sizes of a table at one display scale.
struct table_metrics {
  float scale = 1.0f;
  float header_height = 30.0f;
  float row_height = 18.0f;
  text_style header_style;  // "Calibri", 15 x scale truncated, regular, black
  text_style cell_style;
  text_style selected_cell_style;  // white
  float px(float unscaled) const { return unscaled * scale; }
};
// The metrics at the process's display scale.
table_metrics current_table_metrics();

// The rows a paint covers, [begin, end) of the visible list: the first is
// round(scroll_y / row_height), then as many as round(height / row_height)
// (the height of the painted rectangle), never past the list's end.
struct row_span {
  std::size_t begin = 0;
  std::size_t end = 0;
};
row_span rows_in_sight(float scroll_y, float height, float row_height, std::size_t count);

// What the header shows of one column.
struct header_column {
  std::u16string_view caption;
  float width = 0.0f;  // scaled pixels
};

struct header_state {
  float scroll_x = 0.0f;
  float scroll_y = 0.0f;
  float visible_width = 0.0f;  // of the pane, to skip columns out of sight
  int sort_column = -1;        // the first sort key's column, or -1
  bool sort_descending = false;
  int dragged_column = -1;
  int selected_column = -1;
  int drop_column = -1;  // drawn while a column is dragged; the count marks the end
};

// Where the header put each column: the hit areas of the mouse handlers,
// content coordinates.
struct header_geometry {
  std::vector<rect_f> resize_handles;
  std::vector<rect_f> cells;
};

// Paints the header band at the top of the pane (content y = scroll_y) over
// whatever the rows drew, and answers each column's handle and cell.
header_geometry paint_header(paint_surface& s, const table_metrics& m, const std::vector<header_column>& columns,
                             const header_state& state);

// The sort arrow of a column whose right edge is `right`, centred on the
// header middle `middle` (client coordinates): pointing down when
// ascending, up when descending.
void paint_sort_arrow(paint_surface& s, const table_metrics& m, float right, float middle, bool descending);

// A cell's text from `text_left` to 5 (scaled) before the cell's right edge,
// over the row rectangle's height; white on a selected row. `cell` and
// `text_left` are client coordinates.
void paint_cell_text(paint_surface& s, const table_metrics& m, const rect_f& cell, float text_left,
                     std::u16string_view text, bool selected);

// The two lines that close a table: across the whole content width at the
// header's bottom and at the bottom of the last painted row (content y; a
// negative value when no row was painted).
void paint_table_lines(paint_surface& s, float content_width, float header_bottom, float last_row_bottom,
                       float scroll_x, float scroll_y);

// The scaled widths of the columns before `index`.
float columns_left(const std::vector<header_column>& columns, std::size_t index);

}  // namespace tessel::view
