#include "view/gantt/gantt_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "catalog/field_catalog.h"
#include "config/settings.h"
#include "document/calendars/calendar.h"
#include "view/display_scale.h"
#include "view/gantt/gantt_other_bar.h"
#include "view/gantt/gantt_shapes.h"
#include "view/table/table_paint.h"

namespace tessel::view {

namespace {

constexpr uint32_t black = rgb(0, 0, 0);
constexpr uint32_t grey = rgb(100, 100, 100);
constexpr uint32_t light_line = rgb(200, 200, 200);
constexpr uint32_t header_fill = rgb(240, 240, 240);
constexpr uint32_t shade_fill = rgb(240, 240, 240);
constexpr uint32_t data_date_color = rgb(51, 153, 255);

constexpr float label_gap = 4.0f;   // between a bar and its label
constexpr float cell_inset = 3.0f;  // between a header cell's edge and its text

// A date a bar or connector can be drawn at: an empty date (or one before
// 1970, which shows as empty too) has no place on the chart.
bool placed(const s_val& v, int64_t& t) {
  if (!v.is_date() || v.empty) return false;
  t = v.as_time();
  return t > 0;
}

bool is_entity_row(const Row& r) { return r.is_activity_row() || r.is_wbs_row() || r.is_project_row(); }

}  // namespace

const document::work_calendar* default_calendar(const document::Document& doc) {
  for (const document::CALENDAR& c : doc.calendar)
    if (c.default_flag.value) return &c.calendar;
  if (doc.project.size() > 0 && doc.project[0].calendar) return &doc.project[0].calendar->calendar;
  return nullptr;
}

// Everything one paint needs, in client pixels where it is a position.
struct GanttView::frame {
  paint_surface* s = nullptr;
  float scale = 1.0f;
  text_style style;
  gantt::date_axis axis;
  float ox = 0.0f, oy = 0.0f;  // client position of the content's origin
  float left = 0.0f, right = 0.0f;   // the client rectangle
  float top = 0.0f, bottom = 0.0f;
  float header = 0.0f;         // the followed table's header and row heights
  float row = 0.0f;
  float content_w = 0.0f;
  float content_h = 0.0f;
  float body_top = 0.0f;       // the chart below the header, clipped to the pane
  float body_bottom = 0.0f;
  float span_left = 0.0f;      // the content's horizontal extent within the pane
  float span_right = 0.0f;
  int64_t first_date = 0;      // the dates at the pane's edges
  int64_t last_date = 0;
  int first_row = 0;           // the rows the followed table paints
  int last_row = -1;
};

bool GanttView::ready() const {
  return document() && layout() && layout()->date_settings() && table_;
}

gantt::date_axis GanttView::axis() const {
  if (!ready()) return {};
  return gantt::date_axis(scale_.lower, layout()->date_settings()->zoom * display_scale());
}

float GanttView::contentWidth() const {
  if (!ready()) return 0.0f;
  return axis().content_width();
}

bool GanttView::onLButtonDown(unsigned, float, float y) {
  if (!table_) return false;
  const float row_h = table_->rowHeight();
  const float below = y + static_cast<float>(context().scroll_y) - table_->headerHeight();
  if (y < table_->headerHeight() || below < 0.0f || row_h <= 0.0f) return false;
  const auto index = static_cast<std::size_t>(below / row_h);
  if (index >= table_->visibleRows().size()) return false;
  table_->selectVisibleRow(static_cast<int>(index));
  return true;
}

float GanttView::contentHeight() const { return table_ ? table_->contentHeight() : 0.0f; }

void GanttView::layout_changed() {
  scale_ = {};
  gridlines_.clear();
  has_data_date_ = false;
  links_.clear();
  links_valid_ = false;
}

void GanttView::refresh() {
  scale_ = {};
  earliest_ = 0;
  gridlines_.clear();
  has_data_date_ = false;
  data_date_ = 0;
  const document::Document* doc = document();
  if (!doc || !layout() || !layout()->date_settings()) return;

  // The range covers every activity of the schedule, shown or not, so the
  // WBS and project charts share the activity chart's span.
  int64_t earliest = std::numeric_limits<int64_t>::max();
  int64_t latest = std::numeric_limits<int64_t>::min();
  for (const document::TASK& t : doc->task) {
    int64_t d = 0;
    if (placed(t.start_date, d)) earliest = std::min(earliest, d);
    if (placed(t.end_date, d)) latest = std::max(latest, d);
  }
  // Activities without any date leave the chart without a timescale; a
  // missing side takes the other's date.
  const bool any_start = earliest != std::numeric_limits<int64_t>::max();
  const bool any_end = latest != std::numeric_limits<int64_t>::min();
  if (!any_start) earliest = latest;
  if (!any_end) latest = earliest;
  earliest_ = any_start || any_end ? earliest : 0;
  if (any_start || any_end) {
    scale_ = gantt::build_timescale(layout()->date_settings()->timescale, earliest, latest);
    const config::app_settings& s = config::settings();
    gridlines_ = gantt::gridline_dates(s.gridlines_VerticalScale, scale_.lower.front(), scale_.lower.back(),
                                       default_calendar(*doc));
  }

  if (const catalog::field_entry* e = catalog::catalogs().find_key(catalog::catalog_kind::project,
                                                                   u"project\\7Cdata_date")) {
    for (const document::PROJECT& p : doc->project) {
      int64_t d = 0;
      if (!placed(doc->fields().value(p, e->field_id), d)) continue;
      if (!has_data_date_ || d < data_date_) data_date_ = d;
      has_data_date_ = true;
    }
  }
}

void GanttView::index_links() {
  const uint64_t version = table_->visibleRowsVersion();
  if (links_valid_ && links_table_ == table_ && links_version_ == version) return;
  links_.build(table_->visibleRows(), document()->task, document()->taskpred);
  links_table_ = table_;
  links_version_ = version;
  links_valid_ = true;
}

void GanttView::draw(const rect_f& r) {
  paint_surface* s = context().surface;
  if (!s || !ready() || scale_.empty()) return;

  frame f;
  f.s = s;
  f.scale = display_scale();
  f.style.pixel_height = static_cast<int>(15.0f * f.scale);
  f.axis = axis();
  f.ox = r.x - static_cast<float>(context().scroll_x);
  f.oy = r.y - static_cast<float>(context().scroll_y);
  f.left = r.x;
  f.right = r.right();
  f.top = r.y;
  f.bottom = r.bottom();
  f.header = table_->headerHeight();
  f.row = table_->rowHeight();
  f.content_w = f.axis.content_width();
  f.content_h = table_->contentHeight();
  f.body_top = f.top + f.header;
  f.body_bottom = std::min(f.bottom, f.oy + f.content_h);
  f.span_left = std::max(f.left, f.ox);
  f.span_right = std::min(f.right, f.ox + f.content_w);
  f.first_date = f.axis.date_at(f.span_left - f.ox) - 1;
  f.last_date = f.axis.date_at(f.span_right - f.ox) + 1;
  // The same rows as the table beside it paints, so that a bar never shows
  // on a line whose table row is not drawn.
  const row_span span = rows_in_sight(static_cast<float>(context().scroll_y), r.h, f.row,
                                      table_->visibleRows().size());
  f.first_row = static_cast<int>(span.begin);
  f.last_row = static_cast<int>(span.end) - 1;

  draw_shading(f);
  draw_gridlines(f);
  draw_frame_lines(f);
  draw_bars(f);
  draw_relationships(f);
  draw_data_date(f);
  draw_header(f);
}

void GanttView::draw_shading(const frame& f) {
  int64_t length = 0;
  switch (scale_.code) {
    case 5: case 6: length = 86400; break;
    case 8: length = 3600; break;
    default: return;  // weeks and longer cells are never shaded
  }
  const document::work_calendar* cal = default_calendar(*document());
  if (!cal || f.body_bottom <= f.body_top) return;
  const gantt::index_range cells = gantt::cells_between(scale_.lower, f.first_date, f.last_date);
  for (std::size_t i = cells.first; i < cells.last; ++i) {
    if (cal->working_minutes(scale_.lower[i], scale_.lower[i] + length) > 0) continue;
    const float x = f.ox + static_cast<float>(i) * f.axis.cell_width();
    f.s->fill_rect({x, f.body_top, f.axis.cell_width(), f.body_bottom - f.body_top}, shade_fill);
  }
}

void GanttView::draw_gridlines(const frame& f) {
  const config::app_settings& s = config::settings();
  if (s.gridlines_VerticalEnabled && f.body_bottom > f.body_top) {
    const gantt::index_range at = gantt::dates_between(gridlines_, f.first_date, f.last_date);
    for (std::size_t i = at.first; i < at.last; ++i) {
      const float x = f.ox + f.axis.x_of(gridlines_[i]);
      f.s->line({x, f.body_top}, {x, f.body_bottom}, light_line, 1.0f);
    }
  }
  const int n = s.gridlines_HorizontalScale;
  if (s.gridlines_HorizontalEnabled && n > 0 && f.row > 0.0f && f.span_right > f.span_left) {
    // Lines fall under every n-th row; only those within the pane are drawn.
    const float step = static_cast<float>(n) * f.row;
    const float lowest = f.body_top - f.oy - f.header;  // content offsets below the header
    const float highest = f.body_bottom - f.oy - f.header;
    for (int64_t k = std::max<int64_t>(1, static_cast<int64_t>(std::floor(lowest / step)));; ++k) {
      const float y_content = f.header + static_cast<float>(k) * step;
      if (y_content >= f.content_h || y_content - f.header > highest) break;
      const float y = f.oy + y_content;
      if (y < f.body_top) continue;
      f.s->line({f.span_left, y}, {f.span_right, y}, light_line, 1.0f, true);
    }
  }
}

void GanttView::draw_frame_lines(const frame& f) {
  const float top = std::max(f.top, f.oy);
  const float bottom = std::min(f.bottom, f.oy + f.content_h);
  for (float x : {f.ox, f.ox + f.content_w})
    if (x >= f.left && x <= f.right && bottom > top) f.s->line({x, top}, {x, bottom}, grey, 1.0f);
  const float y = f.oy + f.content_h;
  if (y >= f.top && y <= f.bottom && f.span_right > f.span_left)
    f.s->line({f.span_left, y}, {f.span_right, y}, grey, 1.0f);
}

void GanttView::draw_bars(const frame& f) {
  const std::vector<Row*>& rows = table_->visibleRows();
  const std::vector<GanttBar>& bars = layout()->gantt().bars;
  for (int i = f.first_row; i <= f.last_row; ++i) {
    const Row& row = *rows[static_cast<std::size_t>(i)];
    const float top = f.oy + f.header + static_cast<float>(i) * f.row;
    const bool group = row.is_group_row();
    const bool entity = is_entity_row(row);
    // WBS elements and projects show a bar only where both its dates exist.
    const bool needs_both = row.is_wbs_row() || row.is_project_row();
    bool drawn = false;
    float leftmost = 0.0f, rightmost = 0.0f;
    for (const GanttBar& bar : bars) {
      if (bar.hide) continue;
      if (bar.summary ? !group : !(entity && bar.has_filters && bar.filters.accepts(row))) continue;
      int64_t start = 0, end = 0;
      const bool has_start = placed(row.field_value(bar.start_field), start);
      const bool has_end = placed(row.field_value(bar.end_field), end);
      // An empty start or finish leaves out the parts that stand on it: its
      // mark, and the body, which needs both ends; the other end's mark is
      // still drawn, so a row with only a finish shows where it finishes.
      if (needs_both ? !(has_start && has_end) : !(has_start || has_end)) continue;
      const float x1 = has_start ? std::trunc(f.axis.x_of(start)) : 0.0f;
      const float x2 = has_end ? std::trunc(f.axis.x_of(end)) : 0.0f;

      // Parts wholly outside the pane are left out; a mark reaches 4 pixels
      // either side of its date.
      const float reach = 4.0f * f.scale;
      auto in_pane = [&](float l, float rr) { return rr + reach >= f.left && l - reach <= f.right; };
      float band_top = 0.0f, band_h = 0.0f;
      const float l = f.ox + std::min(x1, x2), rr = f.ox + std::max(x1, x2);
      if (has_start && has_end && in_pane(l, rr) && gantt::body_band(bar.mid.shape, f.scale, band_top, band_h)) {
        const point_f box[4] = {{l, top + band_top}, {rr, top + band_top}, {rr, top + band_top + band_h},
                                {l, top + band_top + band_h}};
        f.s->polygon(box, 4, bar.mid.color, bar.mid.border_color);
      }
      if (has_start && in_pane(f.ox + x1, f.ox + x1)) {
        const auto mark = gantt::mark_polygon(bar.start.shape, f.ox + x1, top, f.scale);
        if (!mark.empty()) f.s->polygon(mark.data(), mark.size(), bar.start.color, bar.start.border_color);
      }
      if (has_end && in_pane(f.ox + x2, f.ox + x2)) {
        const auto mark = gantt::mark_polygon(bar.end.shape, f.ox + x2, top, f.scale);
        if (!mark.empty()) f.s->polygon(mark.data(), mark.size(), bar.end.color, bar.end.border_color);
      }

      const float lo = has_start ? (has_end ? std::min(x1, x2) : x1) : x2;
      const float hi = has_end ? (has_start ? std::max(x1, x2) : x2) : x1;
      leftmost = drawn ? std::min(leftmost, lo) : lo;
      rightmost = drawn ? std::max(rightmost, hi) : hi;
      drawn = true;

      for (const BarLabel& label : bar.labels) {
        const std::u16string text = row.field_value(label.field_id).text();
        if (text.empty()) continue;
        const float w = f.s->text_width(text, f.style);
        const float gap = label_gap * f.scale;
        const float x = label.left ? f.ox + leftmost - gap - w : f.ox + rightmost + gap;
        if (x > f.right || x + w < f.left) continue;
        f.s->text({x, top, w, f.row}, text, f.style);
      }
    }
    if (other_ && row.activity())
      if (const document::TASK* o = other_->old_of(*row.activity()))
        gantt::draw_other_bar(*f.s, f.axis, f.ox, top, f.row, f.scale, *o, f.left, f.right);
  }
}

void GanttView::draw_relationships(const frame& f) {
  if (f.last_row < f.first_row) return;
  index_links();
  found_.clear();
  links_.find(f.first_row, f.last_row, found_);
  // A connector whose two rows both lie outside the pane shows only its
  // vertical run, straight through the pane. A large schedule has thousands
  // of those at any height; they are drawn once per pixel column, which
  // looks the same and keeps a paint bounded by the pane's width.
  const int columns = std::max(0, static_cast<int>(f.right - f.left) + 1);
  crossing_.assign(static_cast<std::size_t>(columns), -1.0f);
  for (const gantt::link* l : found_) {
    const point_f a{f.ox + f.axis.x_of(l->from_date),
                    f.oy + f.header + (static_cast<float>(l->pred_row) + 0.5f) * f.row};
    const point_f b{f.ox + f.axis.x_of(l->to_date),
                    f.oy + f.header + (static_cast<float>(l->succ_row) + 0.5f) * f.row};
    const gantt::connector c = gantt::connector_path(a, l->from_finish, b, l->to_start, f.row, f.scale);
    const bool pred_in = l->pred_row >= f.first_row && l->pred_row <= f.last_row;
    const bool succ_in = l->succ_row >= f.first_row && l->succ_row <= f.last_row;
    if (!pred_in && !succ_in) {
      const float x = c.path[1].x;  // the turn, where the run goes up or down
      if (x >= f.left && x <= f.right) {
        float& at = crossing_[static_cast<std::size_t>(x - f.left)];
        if (at < 0.0f) at = x;
      }
      continue;
    }
    for (std::size_t k = 1; k < c.count; ++k) f.s->line(c.path[k - 1], c.path[k], black, 1.0f);
    f.s->polygon(c.head, 3, black, black);
  }
  if (f.body_bottom <= f.body_top) return;
  for (float x : crossing_)
    if (x >= 0.0f) f.s->line({x, f.body_top}, {x, f.body_bottom}, black, 1.0f);
}

void GanttView::draw_data_date(const frame& f) {
  if (!has_data_date_ || f.body_bottom <= f.body_top) return;
  const float x = f.ox + f.axis.x_of(data_date_);
  if (x < f.left || x > f.right) return;
  f.s->line({x, f.body_top}, {x, f.body_bottom}, data_date_color, 1.0f);
}

void GanttView::draw_header(const frame& f) {
  if (f.header <= 0.0f || f.span_right <= f.span_left) return;
  const float half = f.header / 2.0f;
  f.s->fill_rect({f.span_left, f.top, f.span_right - f.span_left, f.header}, header_fill);

  const float cw = f.axis.cell_width();
  const float inset = cell_inset * f.scale;
  // `stick`: a cell that starts left of the pane shows its label at the
  // pane's left edge (an upper cell's month or year must stay readable);
  // once the cell's part in sight is too narrow for it, the label slides out
  // with the cell's end, whole, rather than cut to "Fe".
  auto cell = [&](float x, float w, float y, const std::u16string& text, bool stick) {
    const float l = std::max(x, f.span_left), rr = std::min(x + w, f.span_right);
    if (rr <= l) return;
    if (x >= f.span_left) f.s->line({x, y}, {x, y + half}, light_line, 1.0f);
    if (text.empty()) return;
    float from = x;
    if (stick && x < f.span_left)
      from = std::max(x, std::min(l, x + w - f.s->text_width(text, f.style) - 2.0f * inset));
    const float width = x + w - from;
    if (width <= inset) return;
    const bool out_left = from < f.span_left;
    if (out_left) f.s->push_clip({f.span_left, y, rr - f.span_left, half});
    f.s->text({from + inset, y, width - inset, half}, text, f.style);  // clipped to the cell
    if (out_left) f.s->pop_clip();
  };

  // Lower cells stand side by side at one cell width each.
  const gantt::index_range lower = gantt::cells_between(scale_.lower, f.first_date, f.last_date);
  for (std::size_t i = lower.first; i < lower.last; ++i)
    cell(f.ox + static_cast<float>(i) * cw, cw, f.top + half, gantt::cell_label(scale_.code, false, scale_.lower[i]),
         false);

  // An upper cell begins where the lower cell of the same date begins, so
  // the tiers line up; a boundary inside a lower cell (a month starting
  // mid-week) falls where the date maps.
  auto upper_x = [&](int64_t d) {
    auto it = std::lower_bound(scale_.lower.begin(), scale_.lower.end(), d);
    if (it != scale_.lower.end() && *it == d) return static_cast<float>(it - scale_.lower.begin()) * cw;
    return std::min(f.content_w, f.axis.x_of(d));
  };
  const gantt::index_range upper = gantt::cells_between(scale_.upper, f.first_date, f.last_date);
  for (std::size_t i = upper.first; i < upper.last; ++i) {
    const float x = upper_x(scale_.upper[i]);
    const float next = i + 1 < scale_.upper.size() ? upper_x(scale_.upper[i + 1]) : f.content_w;
    cell(f.ox + x, std::min(next, f.content_w) - x, f.top, gantt::cell_label(scale_.code, true, scale_.upper[i]),
         true);
  }

  f.s->line({f.span_left, f.top + half}, {f.span_right, f.top + half}, grey, 1.0f);
  f.s->line({f.span_left, f.top + f.header}, {f.span_right, f.top + f.header}, grey, 1.0f);
}

}  // namespace tessel::view
