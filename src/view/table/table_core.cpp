#include "view/table/table_core.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "catalog/field_catalog.h"
#include "rows/group_item.h"
#include "rows/tree_build.h"
#include "view/table/table_text.h"

namespace tessel::view {
namespace {

constexpr float indent_step = 20.0f;  // unscaled width of one tree level
constexpr float min_column_width = 30.0f;
constexpr uint32_t first_user_field = 100001;
constexpr uint32_t last_user_field = 499999;

// The colour marker a user-field cell shows instead of its text, if any:
// only these exact words count.
bool marker_for(std::u16string_view text, bool selected, marker_image& out) {
  int colour = -1;
  if (text == u"UDF_G1" || text == u"Red") colour = 0;
  else if (text == u"UDF_G2" || text == u"Yellow") colour = 1;
  else if (text == u"UDF_G3" || text == u"Green") colour = 2;
  else if (text == u"UDF_G4" || text == u"Blue") colour = 3;
  if (colour < 0) return false;
  out = static_cast<marker_image>(colour + (selected ? 4 : 0));
  return true;
}

}  // namespace

bool TableCore::ready() const { return v_.document() && v_.layout(); }

bool TableCore::grouped() const { return !v_.layout()->group_sort().group_bys.empty(); }

float TableCore::headerHeight() const { return current_table_metrics().header_height; }

float TableCore::rowHeight() const { return current_table_metrics().row_height; }

float TableCore::contentWidth() const {
  if (!ready()) return 0.0f;
  const float scale = current_table_metrics().scale;
  float w = 0.0f;
  for (const Column& c : v_.layout()->columns()) w += c.width * scale;
  return w;
}

float TableCore::contentHeight() const {
  if (!ready()) return 0.0f;
  const table_metrics m = current_table_metrics();
  return static_cast<float>(v_.visibleRows().size()) * m.row_height + m.header_height;
}

void TableCore::refresh() {
  if (!ready()) return;
  if (!root_) {
    root_ = shown_ ? build_shown_tree() : build_view_tree(kind_, *v_.document(), v_.layout()->group_sort());
    ++tree_version_;
  }
  v_.rebuild_visible(root_.get());
}

std::unique_ptr<RootRow> TableCore::build_shown_tree() {
  const document::Document& doc = *v_.document();
  const GroupSortSettings& settings = v_.layout()->group_sort();
  if (kind_ == view_kind::activity) {
    // A copy of the whole tree (built once and kept for the clear) keeps
    // its grouping and order: nothing is grouped or sorted again.
    if (!whole_root_) whole_root_ = build_view_tree(kind_, doc, settings);
    if (!positions_ || positions_doc_ != &doc || positions_->size() != doc.task.size()) {
      positions_ = std::make_unique<analysis::activity_positions>(doc);
      positions_doc_ = &doc;
    }
    const analysis::activity_positions& pos = *positions_;
    const analysis::shown_activities& shown = *shown_;
    // The rows keep the order they had: sorting again (groups by their new
    // summaries) would cost as much as building the tree; a click on a
    // header sorts the shown tree.
    return copy_activity_tree(*whole_root_, doc, [&pos, &shown](const Row& r) {
      const std::ptrdiff_t p = pos.of(r.activity());
      return p >= 0 && shown.shows(static_cast<std::size_t>(p));
    });
  }
  std::unique_ptr<RootRow> root = build_view_tree(kind_, doc, settings);
  if (kind_ == view_kind::wbs) {
    // A WBS element stays when one of its own activities is shown; the
    // elements above it stay with it.
    std::unordered_set<const document::PROJWBS*> holding;
    std::size_t i = 0;
    for (const document::TASK& t : doc.task)
      if (shown_->shows(i++) && t.projwbs) holding.insert(t.projwbs);
    keep_rows(*root, [&holding](const Row& r) { return r.wbs() && holding.count(r.wbs()) != 0; });
  }
  return root;
}

void TableCore::set_shown(std::shared_ptr<const analysis::shown_activities> shown, bool build_now) {
  if (shown && !shown_) {
    whole_root_ = std::move(root_);
  } else if (!shown && shown_) {
    // The tree as it was before the filter, groups expanded or collapsed
    // as they were (rebuilt if the layout changed meanwhile).
    root_ = std::move(whole_root_);
    shown_.reset();
    ++tree_version_;
    v_.rebuild_visible(nullptr);
    if (build_now) refresh();
    return;
  }
  shown_ = std::move(shown);
  v_.rebuild_visible(nullptr);
  root_.reset();
  if (build_now) refresh();
}

void TableCore::drop_tree() {
  v_.rebuild_visible(nullptr);
  root_.reset();
  whole_root_.reset();
  handles_.clear();
  cells_.clear();
  resizing_ = dragged_ = drop_ = -1;
}

void TableCore::expandAll() {
  if (!ready()) return;
  // A new tree: every group expanded, and no selection survives.
  v_.rebuild_visible(nullptr);
  root_.reset();
  refresh();
}

void TableCore::collapseAll() {
  if (!ready() || !root_) return;
  for (Row* r : v_.visibleRows()) {
    if (r->has_children()) r->expanded = false;
  }
  v_.rebuild_visible(root_.get());
}

std::u16string TableCore::selectionText() const {
  if (!ready()) return {};
  return table_text(v_.visibleRows(), v_.layout()->columns());
}

std::vector<header_column> TableCore::header_columns(const table_metrics& m) const {
  std::vector<header_column> out;
  const std::vector<Column>& columns = v_.layout()->columns();
  out.reserve(columns.size());
  for (const Column& c : columns) {
    header_column h;
    if (const catalog::field_entry* e = catalog::find_field(c.field_id)) h.caption = e->caption;
    h.width = c.width * m.scale;
    out.push_back(h);
  }
  return out;
}

rect_f TableCore::expand_box(const table_metrics& m, const Row& row, std::size_t index) const {
  const float top = m.header_height + static_cast<float>(index) * m.row_height;
  return {m.px(static_cast<float>(row.depth) * indent_step - 14.0f), top + m.px(6.0f), m.px(8.0f), m.px(8.0f)};
}

int TableCore::row_at(float content_y) const {
  const std::vector<Row*>& rows = v_.visibleRows();
  if (rows.empty()) return -1;
  const table_metrics m = current_table_metrics();
  const float guess = std::floor((content_y - m.header_height) / m.row_height);
  if (guess < -1.0f || guess > static_cast<float>(rows.size())) return -1;
  // The same rectangles as painting records; of two rows sharing an edge
  // the later one wins, as it would among the selected flags.
  int hit = -1;
  for (int i = static_cast<int>(guess) - 1; i <= static_cast<int>(guess) + 1; ++i) {
    if (i < 0 || static_cast<std::size_t>(i) >= rows.size()) continue;
    const float y = m.header_height + static_cast<float>(i) * m.row_height + 1.0f;
    if (content_y >= y && content_y <= y + m.row_height - 1.0f) hit = i;
  }
  return hit;
}

void TableCore::paint_row(paint_surface& s, const table_metrics& m, Row& row, std::size_t index,
                          float content_width, const rect_f& visible) {
  const float sx = static_cast<float>(v_.context().scroll_x);
  const float sy = static_cast<float>(v_.context().scroll_y);
  const float top = m.header_height + static_cast<float>(index) * m.row_height;
  row.table_rect = {0.0f, top + 1.0f, content_width, m.row_height - 1.0f};
  const rect_f rect{-sx, top + 1.0f - sy, content_width, m.row_height - 1.0f};
  const bool selected = row.selected;
  const int level = row.depth;
  const bool has_groups = grouped();
  const std::vector<Level>& levels = v_.layout()->group_sort().levels;
  const float step = m.px(indent_step);

  if (selected) s.fill_rect(rect, table_colors::selection);
  const bool traced = shown_ && shown_->marked && row.activity() == shown_->marked;

  if (has_groups) {
    for (int k = 0; k < level && static_cast<std::size_t>(k) < levels.size(); ++k) {
      const float x = static_cast<float>(k) * step - sx;
      if (!selected) s.fill_rect({x, rect.y, step, rect.h}, levels[static_cast<std::size_t>(k)].band_color);
      s.line({x, rect.y}, {x, rect.bottom()}, table_colors::grid, 1.0f);
    }
  }

  const float indent_x = static_cast<float>(level) * step;
  if (row.is_group_row()) {
    const std::size_t group_level = level > 0 ? static_cast<std::size_t>(level - 1) : 0;
    const Level* colours = group_level < levels.size() ? &levels[group_level] : nullptr;
    if (colours && !selected)
      s.fill_rect({indent_x - sx, rect.y, content_width - indent_x, rect.h}, colours->band_color);
    text_style style = m.cell_style;
    style.color = selected ? table_colors::background : colours ? colours->text_color : table_colors::text;
    const float right = content_width - m.px(5.0f);
    if (right > indent_x) {
      if (const GroupItem* item = row.group_item()) {
        const std::u16string title = item->label();
        if (!title.empty()) s.text({indent_x - sx, rect.y, right - indent_x, rect.h}, title, style);
      }
    }
  } else {
    const std::vector<Column>& columns = v_.layout()->columns();
    const float first_indent = has_groups ? static_cast<float>(level + 1) * step : indent_x;
    float left = 0.0f;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const float w = columns[c].width * m.scale;
      const float right = left + w;
      if (right >= visible.x && left <= visible.right()) {
        const uint32_t field = columns[c].field_id;
        const std::u16string text = row.field_value(field).text();
        const rect_f cell{left - sx, rect.y, w, rect.h};
        marker_image marker{};
        if (field >= first_user_field && field <= last_user_field && marker_for(text, selected, marker)) {
          const float size = m.px(14.0f);
          s.image(marker, {cell.x + (w - size) / 2.0f, top - sy + (m.row_height - size) / 2.0f, size, size});
        } else {
          const float text_left = c == 0 ? left + first_indent : left + m.px(5.0f);
          paint_cell_text(s, m, cell, text_left - sx, text, selected);
        }
      }
      left = right;
    }
  }

  if (traced) {
    // Where a trace starts: a triangle in the place a group row has its
    // expand box.
    const rect_f box = expand_box(m, row, index);
    const float x = box.x - m.px(1.0f) - sx, mid = box.y + box.h / 2.0f - sy, half = m.px(5.0f);
    const point_f tip[3] = {{x, mid - half}, {x + half * 1.6f, mid}, {x, mid + half}};
    s.polygon(tip, 3, table_colors::traced, table_colors::traced);
  }

  if (row.has_children()) {
    const rect_f box = expand_box(m, row, index);
    const float bx = box.x - sx, by = box.y - sy;
    const point_f corners[4] = {{bx, by}, {bx + box.w, by}, {bx + box.w, by + box.h}, {bx, by + box.h}};
    s.polygon(corners, 4, table_colors::background, table_colors::text);
    const float mid = box.h / 2.0f;
    s.line({bx + m.px(2.0f), by + mid}, {bx + m.px(6.0f), by + mid}, table_colors::text, 1.0f);
    if (!row.expanded) s.line({bx + mid, by + m.px(2.0f)}, {bx + mid, by + m.px(6.0f)}, table_colors::text, 1.0f);
  }

  if (has_groups) {
    const float bottom = top + m.row_height - sy;
    s.line({indent_x - sx, top - sy}, {indent_x - sx, bottom}, table_colors::grid, 1.0f);
    s.line({indent_x - sx, bottom}, {content_width - sx, bottom}, table_colors::grid, 1.0f);
  }
}

void TableCore::draw(const rect_f& r) {
  if (!ready() || v_.layout()->columns().empty() || !v_.context().surface) return;
  paint_surface& s = *v_.context().surface;
  const table_metrics m = current_table_metrics();
  const float sx = static_cast<float>(v_.context().scroll_x);
  const float sy = static_cast<float>(v_.context().scroll_y);
  const std::vector<header_column> columns = header_columns(m);
  const float content_width = columns_left(columns, columns.size());
  const std::vector<Row*>& rows = v_.visibleRows();

  const auto [begin, end] = rows_in_sight(sy, r.h, m.row_height, rows.size());
  const rect_f visible{sx, sy, r.w, r.h};
  for (std::size_t i = begin; i < end; ++i) paint_row(s, m, *rows[i], i, content_width, visible);
  const float last_bottom = end > begin ? m.header_height + static_cast<float>(end) * m.row_height : -1.0f;
  paint_table_lines(s, content_width, sy + m.header_height, last_bottom, sx, sy);

  header_state st;
  st.scroll_x = sx;
  st.scroll_y = sy;
  st.visible_width = r.w;
  const std::vector<SortBy>& sorts = v_.layout()->group_sort().sort_bys;
  if (!sorts.empty()) {
    st.sort_column = v_.layout()->find_column(sorts.front().field_id);
    st.sort_descending = sorts.front().descending;
  }
  st.dragged_column = dragged_;
  st.selected_column = selected_column_;
  st.drop_column = drop_;
  header_geometry g = paint_header(s, m, columns, st);
  handles_ = std::move(g.resize_handles);
  cells_ = std::move(g.cells);
}

bool TableCore::onMouseMove(unsigned flags, float x, float y) {
  if (!ready()) return false;
  const table_metrics m = current_table_metrics();
  const float cx = x + static_cast<float>(v_.context().scroll_x);
  const float cy = y + static_cast<float>(v_.context().scroll_y);
  bool repaint = false;
  for (const rect_f& h : handles_) {
    if (h.contains(cx, cy)) {
      v_.context().cursor = cursor_shape::size_we;
      repaint = true;
      break;
    }
  }
  std::vector<Column>& columns = v_.layout()->columns();
  if (flags & mouse_left_held) {
    if (cx > contentWidth()) {
      drop_ = static_cast<int>(columns.size());
      repaint = true;
    } else {
      for (std::size_t i = 0; i < cells_.size(); ++i) {
        if (cells_[i].contains(cx, cy)) {
          v_.context().cursor = cursor_shape::move;
          drop_ = static_cast<int>(i);
          repaint = true;
          break;
        }
      }
    }
  }
  if (resizing_ >= 0 && static_cast<std::size_t>(resizing_) < columns.size()) {
    float before = 0.0f;
    for (int i = 0; i < resizing_; ++i) before += columns[static_cast<std::size_t>(i)].width * m.scale;
    // The first column always keeps room for the deepest indentation.
    const float minimum = resizing_ == 0
                              ? m.px(indent_step) * static_cast<float>(v_.deepestLevel()) + m.px(min_column_width)
                              : m.px(min_column_width);
    columns[static_cast<std::size_t>(resizing_)].width = std::max(cx - before, minimum) / m.scale;
    repaint = true;
  }
  return repaint;
}

void TableCore::sort_by_column(std::size_t column) {
  const uint32_t field = v_.layout()->columns()[column].field_id;
  std::vector<SortBy>& sorts = v_.layout()->group_sort().sort_bys;
  if (!sorts.empty() && sorts.front().field_id == field) {
    sorts.front().descending = !sorts.front().descending;
  } else {
    sorts.clear();
    sorts.push_back({field, false});
  }
  if (root_) sort_tree(*root_, sorts);
  if (whole_root_) sort_tree(*whole_root_, sorts);
}

bool TableCore::onLButtonDown(unsigned /*flags*/, float x, float y) {
  if (!ready()) return true;
  const float cx = x + static_cast<float>(v_.context().scroll_x);
  const float cy = y + static_cast<float>(v_.context().scroll_y);
  selected_column_ = -1;
  const std::size_t count = v_.layout()->columns().size();
  bool on_handle = false;
  for (std::size_t i = 0; i < handles_.size() && i < count; ++i) {
    if (handles_[i].contains(cx, cy)) {
      resizing_ = static_cast<int>(i);
      on_handle = true;
      break;
    }
  }
  // Grabbing a column edge resizes it and never sorts.
  if (!on_handle) {
    for (std::size_t i = 0; i < cells_.size() && i < count; ++i) {
      if (cells_[i].contains(cx, cy)) {
        dragged_ = static_cast<int>(i);
        selected_column_ = static_cast<int>(i);
        v_.context().cursor = cursor_shape::move;
        sort_by_column(i);
        break;
      }
    }
  }
  const bool across = cx >= 0.0f && cx <= contentWidth();
  v_.selectVisibleRow(across ? row_at(cy) : -1);
  return true;
}

bool TableCore::onLButtonUp(unsigned /*flags*/, float x, float y) {
  if (!ready()) return true;
  const float cx = x + static_cast<float>(v_.context().scroll_x);
  const float cy = y + static_cast<float>(v_.context().scroll_y);
  if (dragged_ >= 0 && drop_ >= 0) {
    v_.layout()->move_column(static_cast<std::size_t>(dragged_), static_cast<std::size_t>(drop_));
    selected_column_ = drop_ > dragged_ ? drop_ - 1 : drop_;
  }
  resizing_ = dragged_ = drop_ = -1;
  const int index = row_at(cy);
  if (index >= 0) {
    Row& row = *v_.visibleRows()[static_cast<std::size_t>(index)];
    if (row.has_children() && expand_box(current_table_metrics(), row, static_cast<std::size_t>(index)).contains(cx, cy))
      row.expanded = !row.expanded;
  }
  return true;
}

}  // namespace tessel::view
