#include "view/table/table_paint.h"

#include <algorithm>
#include <cmath>

#include "view/display_scale.h"

namespace tessel::view {

table_metrics current_table_metrics() {
  table_metrics m;
  m.scale = display_scale();
  m.header_height = 30.0f * m.scale;
  m.row_height = 18.0f * m.scale;
  const int font_px = static_cast<int>(15.0f * m.scale);
  m.header_style.pixel_height = font_px;
  m.cell_style.pixel_height = font_px;
  m.selected_cell_style = m.cell_style;
  m.selected_cell_style.color = table_colors::background;
  return m;
}

row_span rows_in_sight(float scroll_y, float height, float row_height, std::size_t count) {
  if (row_height <= 0.0f) return {};
  const long first = std::max(0L, std::lround(scroll_y / row_height));
  const long fit = std::max(0L, std::lround(height / row_height));
  row_span r;
  r.begin = std::min(static_cast<std::size_t>(first), count);
  r.end = std::min(r.begin + static_cast<std::size_t>(fit), count);
  return r;
}

float columns_left(const std::vector<header_column>& columns, std::size_t index) {
  float x = 0.0f;
  for (std::size_t i = 0; i < index && i < columns.size(); ++i) x += columns[i].width;
  return x;
}

void paint_sort_arrow(paint_surface& s, const table_metrics& m, float right, float middle, bool descending) {
  // The flat side faces away from the point: down for ascending.
  const float flat = descending ? m.px(3.5f) : -m.px(4.5f);
  const float tip = descending ? -m.px(4.5f) : m.px(3.5f);
  const point_f corners[3] = {{right - m.px(12.0f), middle + flat},
                              {right - m.px(4.0f), middle + flat},
                              {right - m.px(8.0f), middle + tip}};
  s.polygon(corners, 3, table_colors::sort_arrow, table_colors::sort_arrow);
}

header_geometry paint_header(paint_surface& s, const table_metrics& m, const std::vector<header_column>& columns,
                             const header_state& st) {
  header_geometry g;
  g.resize_handles.reserve(columns.size());
  g.cells.reserve(columns.size());
  const float content_width = columns_left(columns, columns.size());
  const float h = m.header_height;
  s.fill_rect({-st.scroll_x, 0.0f, content_width, h}, table_colors::header);

  const bool dragging = st.dragged_column >= 0;
  float left = 0.0f;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const float w = columns[i].width;
    const float right = left + w;
    g.cells.push_back({left, st.scroll_y, w, h});
    g.resize_handles.push_back({right - m.px(2.0f), st.scroll_y, m.px(4.0f), h});
    const float x = left - st.scroll_x;
    const bool in_sight = right >= st.scroll_x && left <= st.scroll_x + st.visible_width;
    if (in_sight) {
      const int index = static_cast<int>(i);
      if (index == st.dragged_column || index == st.selected_column)
        s.fill_rect({x, 0.0f, w, h}, table_colors::selection);
      const bool sorted = index == st.sort_column;
      const float text_left = x + m.px(5.0f);
      const float text_right = x + w - (sorted ? m.px(20.0f) : m.px(7.0f));
      if (text_right > text_left && !columns[i].caption.empty())
        s.text({text_left, 0.0f, text_right - text_left, h}, columns[i].caption, m.header_style);
      if (sorted) paint_sort_arrow(s, m, x + w, h / 2.0f, st.sort_descending);
      s.line({x + w, 0.0f}, {x + w, h}, table_colors::separator, 1.0f);
    }
    left = right;
  }
  if (dragging && st.drop_column >= 0 && static_cast<std::size_t>(st.drop_column) <= columns.size()) {
    const float x = columns_left(columns, static_cast<std::size_t>(st.drop_column)) - st.scroll_x;
    s.line({x, 0.0f}, {x, h}, table_colors::text, m.px(2.0f));
  }
  return g;
}

void paint_cell_text(paint_surface& s, const table_metrics& m, const rect_f& cell, float text_left,
                     std::u16string_view text, bool selected) {
  const float right = cell.right() - m.px(5.0f);
  if (text.empty() || right <= text_left) return;
  s.text({text_left, cell.y, right - text_left, cell.h}, text, selected ? m.selected_cell_style : m.cell_style);
}

void paint_table_lines(paint_surface& s, float content_width, float header_bottom, float last_row_bottom,
                       float scroll_x, float scroll_y) {
  s.line({-scroll_x, header_bottom - scroll_y}, {content_width - scroll_x, header_bottom - scroll_y},
         table_colors::grid, 1.0f);
  if (last_row_bottom < 0.0f) return;
  s.line({-scroll_x, last_row_bottom - scroll_y}, {content_width - scroll_x, last_row_bottom - scroll_y},
         table_colors::grid, 1.0f);
}

}  // namespace tessel::view
