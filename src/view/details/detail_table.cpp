#include "view/details/detail_table.h"

namespace tessel::view {

table_metrics detail_table_metrics() {
  table_metrics m = current_table_metrics();
  m.header_height = m.row_height;
  return m;
}

const Row* detail_table::record_row() const {
  if (!showing()) return nullptr;
  const Row* row = followed->selectedRow();
  if (!row || row->is_group_row() || row->is_root_row()) return nullptr;
  return row;
}

void detail_table::clear() { root = std::make_unique<RootRow>(); }

void detail_table::add(std::unique_ptr<Row> row) {
  if (!root) clear();
  root->add_child(std::move(row));
}

bool detail_table::showing() const { return followed && followed->document() && followed->layout(); }

float detail_table::content_width() const { return showing() ? detail_table_width(widths) : 0.0f; }

float detail_table::content_height(const View& v) const {
  return showing() ? detail_table_height(v.visibleRows().size()) : 0.0f;
}

void detail_table::draw(View& v, const rect_f& r) {
  if (!showing() || !cell) return;
  paint_detail_table(v, *this, r, captions, widths, cell);
}

std::u16string detail_table_text(const View& v, const std::vector<std::u16string_view>& captions,
                                 const detail_cell_text& cell) {
  std::u16string out;
  for (std::size_t c = 0; c < captions.size(); ++c) {
    if (c) out += u'\t';
    out += captions[c];
  }
  out += u'\n';
  const std::vector<Row*>& rows = v.visibleRows();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (r) out += u'\n';
    for (std::size_t c = 0; c < captions.size(); ++c) {
      if (c) out += u'\t';
      out += cell(*rows[r], c);
    }
  }
  return out;
}

float detail_table_height(std::size_t rows) {
  const table_metrics m = detail_table_metrics();
  return static_cast<float>(rows) * m.row_height + m.header_height;
}

float detail_table_width(const std::vector<float>& widths) {
  const table_metrics m = detail_table_metrics();
  float sum = 0.0f;
  for (float w : widths) sum += m.px(w);
  return sum;
}

void paint_detail_table(View& v, detail_table& t, const rect_f& r, const std::vector<std::u16string_view>& captions,
                        const std::vector<float>& widths, const detail_cell_text& cell) {
  if (!v.context().surface) return;
  paint_surface& s = *v.context().surface;
  const table_metrics m = detail_table_metrics();
  const float sx = static_cast<float>(v.context().scroll_x);
  const float sy = static_cast<float>(v.context().scroll_y);
  std::vector<header_column> columns;
  for (std::size_t c = 0; c < captions.size() && c < widths.size(); ++c) columns.push_back({captions[c], m.px(widths[c])});
  const float content_width = columns_left(columns, columns.size());
  const std::vector<Row*>& rows = v.visibleRows();

  const row_span sight = rows_in_sight(sy, r.h, m.row_height, rows.size());
  const std::size_t begin = sight.begin;
  const std::size_t end = sight.end;
  for (std::size_t i = begin; i < end; ++i) {
    Row& row = *rows[i];
    const float top = m.header_height + static_cast<float>(i) * m.row_height;
    row.table_rect = {0.0f, top + 1.0f, content_width, m.row_height - 1.0f};
    if (row.selected) s.fill_rect({-sx, top + 1.0f - sy, content_width, m.row_height - 1.0f}, table_colors::selection);
    float left = 0.0f;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const float right = left + columns[c].width;
      if (right >= sx && left <= sx + r.w) {
        const rect_f box{left - sx, top - sy, columns[c].width, m.row_height};
        paint_cell_text(s, m, box, box.x + m.px(5.0f), cell(row, c), row.selected);
      }
      left = right;
    }
  }
  const float last_bottom = end > begin ? m.header_height + static_cast<float>(end) * m.row_height : -1.0f;
  paint_table_lines(s, content_width, sy + m.header_height, last_bottom, sx, sy);

  header_state st;
  st.scroll_x = sx;
  st.scroll_y = sy;
  st.visible_width = r.w;
  t.handles = paint_header(s, m, columns, st).resize_handles;
}

void select_detail_row(View& v, float x, float y) {
  const table_metrics m = detail_table_metrics();
  if (y <= m.header_height) return;  // the header covers the rows under it
  const float cx = x + static_cast<float>(v.context().scroll_x);
  const float cy = y + static_cast<float>(v.context().scroll_y);
  // A row is hit edges inclusive, from one pixel below its top line down
  // to its bottom line, across the content width.
  const float offset = cy - m.header_height - 1.0f;
  int index = -1;
  if (offset >= 0.0f && cx >= 0.0f && cx <= v.contentWidth()) {
    const auto i = static_cast<std::size_t>(offset / m.row_height);
    if (i < v.visibleRows().size() && offset - static_cast<float>(i) * m.row_height <= m.row_height - 1.0f)
      index = static_cast<int>(i);
  }
  v.selectVisibleRow(index);
}

}  // namespace tessel::view
