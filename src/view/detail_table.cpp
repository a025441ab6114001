#include "view/detail_table.h"

#include <algorithm>
#include <cmath>

#include "rows/tree_build.h"
#include "view/display_scale.h"

namespace tessel::view {
namespace {

constexpr uint32_t header_fill = rgb(240, 240, 240);
constexpr uint32_t selection_fill = rgb(51, 153, 255);
constexpr uint32_t grid_line = rgb(100, 100, 100);
constexpr uint32_t separator_line = rgb(200, 200, 200);
constexpr uint32_t black = rgb(0, 0, 0);
constexpr uint32_t white = rgb(255, 255, 255);

text_style table_style(uint32_t color) {
  text_style style;
  style.pixel_height = static_cast<int>(15.0f * display_scale());
  style.color = color;
  return style;
}

}  // namespace

float detail_table_line_height() { return 18.0f * display_scale(); }

const Row* detail_table::record_row() const {
  if (!followed || !followed->document() || !followed->layout()) return nullptr;
  const Row* row = followed->selectedRow();
  if (!row || row->is_group_row() || row->is_root_row()) return nullptr;
  return row;
}

void detail_table::clear() { root = std::make_unique<RootRow>(); }

void detail_table::add(std::unique_ptr<Row> row) {
  if (!root) clear();
  root->add_child(std::move(row));
}

unsigned detail_table::list(std::vector<Row*>& visible) const {
  visible.clear();
  if (!root) return 0;
  return visible_rows(*root, visible);
}

float detail_table_height(std::size_t rows) {
  return static_cast<float>(rows) * detail_table_line_height() + detail_table_line_height();
}

float detail_table_width(const std::vector<float>& widths) {
  float sum = 0.0f;
  for (float w : widths) sum += w * display_scale();
  return sum;
}

void paint_detail_table(paint_surface& surface, const drawing_context& dc, const rect_f& r,
                        const std::vector<std::u16string_view>& captions, const std::vector<float>& widths,
                        const std::vector<Row*>& visible, const detail_cell_text& cell) {
  const float s = display_scale();
  const float line_h = detail_table_line_height();
  const float sx = static_cast<float>(dc.scroll_x);
  const float sy = static_cast<float>(dc.scroll_y);
  const float content_w = detail_table_width(widths);
  const std::size_t columns = std::min(captions.size(), widths.size());
  const text_style normal = table_style(black);
  const text_style selected = table_style(white);
  const float pad = 5.0f * s;

  // Rows under the header: the first whose band reaches the pane's top, and
  // as many as the pane can show.
  const std::size_t first = static_cast<std::size_t>(std::max(0.0f, std::round(sy / line_h)));
  const std::size_t count = static_cast<std::size_t>(std::round(r.h / line_h)) + 1;
  const std::size_t last = std::min(visible.size(), first + count);
  float bottom = line_h;
  for (std::size_t i = first; i < last; ++i) {
    Row& row = *visible[i];
    const float top = line_h + static_cast<float>(i) * line_h;
    row.table_rect = {0.0f, top + 1.0f, content_w, line_h - 1.0f};
    const bool sel = row.selected;
    if (sel) surface.fill_rect({-sx, top + 1.0f - sy, content_w, line_h - 1.0f}, selection_fill);
    float x = 0.0f;
    for (std::size_t c = 0; c < columns; ++c) {
      const float w = widths[c] * s;
      const float left = x;
      x += w;
      if (left - sx > r.right() || x - sx < r.x) continue;  // outside the visible span
      const std::u16string text = cell(row, c);
      if (text.empty()) continue;
      surface.text({left + pad - sx, top - sy, std::max(0.0f, w - 2 * pad), line_h}, text, sel ? selected : normal);
    }
    bottom = top + line_h;
  }
  surface.line({-sx, line_h - sy}, {content_w - sx, line_h - sy}, grid_line, 1.0f);
  if (last > first) surface.line({-sx, bottom - sy}, {content_w - sx, bottom - sy}, grid_line, 1.0f);

  // The header stays at the top while the rows scroll under it.
  surface.fill_rect({-sx, 0.0f, content_w, line_h}, header_fill);
  float x = 0.0f;
  for (std::size_t c = 0; c < columns; ++c) {
    const float w = widths[c] * s;
    surface.text({x + pad - sx, 0.0f, std::max(0.0f, w - pad - 7.0f * s), line_h}, captions[c], normal);
    x += w;
    surface.line({x - sx, 0.0f}, {x - sx, line_h}, separator_line, 1.0f);
  }
}

void select_detail_row(const std::vector<Row*>& visible, float x, float y) {
  for (Row* row : visible) {
    const row_rect& rr = row->table_rect;
    row->selected = x >= rr.x && x <= rr.x + rr.w && y >= rr.y && y <= rr.y + rr.h;
  }
}

}  // namespace tessel::view
