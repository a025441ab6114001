#include "view/dialogs/calendar_panels.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tessel::view {

namespace {

constexpr int64_t seconds_per_day = 86400;
constexpr uint32_t panel_back = rgb(255, 255, 255);
constexpr uint32_t grid_line = rgb(210, 210, 210);
constexpr uint32_t frame_line = rgb(130, 130, 130);
constexpr uint32_t heading_text = rgb(90, 90, 90);
constexpr uint32_t arrow_fill = rgb(70, 70, 70);
constexpr uint32_t selection_line = rgb(0, 84, 166);

std::u16string number_text(int64_t n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

text_style style_for(float row_height, float scale, bool bold, uint32_t color) {
  text_style st;
  // Text fills at most about two thirds of a row, and never grows past the
  // dialog's own size.
  const float px = std::min(row_height * 0.68f, 13.0f * scale);
  st.pixel_height = std::max(7, static_cast<int>(std::lround(px)));
  st.bold = bold;
  st.color = color;
  return st;
}

void centred(paint_surface& s, const rect_f& r, std::u16string_view text, const text_style& st) {
  const float w = s.text_width(text, st);
  s.text(rect_f{r.x + std::max(0.0f, (r.w - w) / 2), r.y, std::min(r.w, w + 1.0f), r.h}, text, st);
}

void frame(paint_surface& s, const rect_f& r, uint32_t color, float width) {
  s.line({r.x, r.y}, {r.right(), r.y}, color, width);
  s.line({r.right(), r.y}, {r.right(), r.bottom()}, color, width);
  s.line({r.right(), r.bottom()}, {r.x, r.bottom()}, color, width);
  s.line({r.x, r.bottom()}, {r.x, r.y}, color, width);
}

// A small filled triangle pointing left or right, centred in `r`.
void arrow(paint_surface& s, const rect_f& r, bool left) {
  const float h = std::min(r.w, r.h) * 0.45f;
  const float cx = r.x + r.w / 2;
  const float cy = r.y + r.h / 2;
  const float tip = left ? cx - h / 2 : cx + h / 2;
  const float back = left ? cx + h / 2 : cx - h / 2;
  const point_f p[3] = {{tip, cy}, {back, cy - h / 2}, {back, cy + h / 2}};
  s.polygon(p, 3, arrow_fill, arrow_fill);
}

}  // namespace

uint32_t day_color(day_class c) {
  switch (c) {
    case day_class::nonwork: return nonwork_day_color;
    case day_class::exception: return exception_day_color;
    case day_class::standard: break;
  }
  return standard_day_color;
}

month_panel_geometry month_panel_layout(const rect_f& area, month_ref month) {
  month_panel_geometry g;
  const float rh = area.h / 8;
  const float cw = area.w / 7;
  g.previous_arrow = {area.x, area.y, std::min(cw, rh * 1.5f), rh};
  g.next_arrow = {area.right() - g.previous_arrow.w, area.y, g.previous_arrow.w, rh};
  g.title = {g.previous_arrow.right(), area.y, g.next_arrow.x - g.previous_arrow.right(), rh};
  const int64_t first = first_of_month(month);
  const int lead = weekday_of(first);
  const int days = days_in_month(month);
  for (int d = 0; d < days; ++d) {
    const int slot = lead + d;
    const int week = slot / 7;
    const int col = slot % 7;
    g.days.push_back({rect_f{area.x + col * cw, area.y + (2 + week) * rh, cw, rh},
                      first + int64_t{d} * seconds_per_day});
  }
  return g;
}

void paint_month_panel(paint_surface& s, const rect_f& area, const document::CALENDAR* cal,
                       month_ref month, int64_t selected, float scale) {
  const float rh = area.h / 8;
  const float cw = area.w / 7;
  s.push_clip(area);
  s.fill_rect(area, panel_back);
  const month_panel_geometry g = month_panel_layout(area, month);

  arrow(s, g.previous_arrow, true);
  arrow(s, g.next_arrow, false);
  centred(s, rect_f{area.x, area.y, area.w, rh}, month_title(month),
          style_for(rh, scale, true, rgb(0, 0, 0)));

  static constexpr std::u16string_view heads[] = {u"Sun", u"Mon", u"Tue", u"Wed",
                                                  u"Thu", u"Fri", u"Sat"};
  const text_style head_style = style_for(rh, scale, false, heading_text);
  for (int c = 0; c < 7; ++c) centred(s, rect_f{area.x + c * cw, area.y + rh, cw, rh}, heads[c], head_style);
  s.line({area.x + 2, area.y + 2 * rh}, {area.right() - 2, area.y + 2 * rh}, grid_line, scale);

  const text_style day_style = style_for(rh, scale, false, rgb(0, 0, 0));
  const int64_t selected_day = day_start(selected);
  const float inset = std::max(1.0f, scale);
  for (const auto& cell : g.days) {
    const rect_f inner{cell.rect.x + inset, cell.rect.y + inset, cell.rect.w - 2 * inset,
                       cell.rect.h - 2 * inset};
    s.fill_rect(inner, day_color(classify_day(cal, cell.date)));
    centred(s, cell.rect, number_text(day_of_month(cell.date)),
            day_style);
    if (cell.date == selected_day) frame(s, inner, selection_line, 2 * scale);
  }
  s.pop_clip();
  frame(s, area, frame_line, scale);
}

month_hit hit_month_panel(const month_panel_geometry& g, float x, float y) {
  if (g.previous_arrow.contains(x, y)) return {month_hit::kind::previous, 0};
  if (g.next_arrow.contains(x, y)) return {month_hit::kind::next, 0};
  if (g.title.contains(x, y)) return {month_hit::kind::title, 0};
  for (const auto& cell : g.days)
    if (cell.rect.contains(x, y)) return {month_hit::kind::day, cell.date};
  return {};
}

rect_f day_panel_cell(const rect_f& area, int hour, int half) {
  const float rh = area.h / 25;
  const float label_w = std::floor(area.w * 0.3f);
  const float cw = (area.w - label_w) / 2;
  return {area.x + label_w + half * cw, area.y + (1 + hour) * rh, cw, rh};
}

void paint_day_panel(paint_surface& s, const rect_f& area, const half_hour_grid& grid, float scale) {
  const float rh = area.h / 25;
  const float label_w = std::floor(area.w * 0.3f);
  s.push_clip(area);
  s.fill_rect(area, panel_back);
  const text_style head = style_for(rh, scale, false, heading_text);
  centred(s, rect_f{area.x + label_w, area.y, (area.w - label_w) / 2, rh}, u":00-:30", head);
  centred(s, rect_f{area.x + label_w + (area.w - label_w) / 2, area.y, (area.w - label_w) / 2, rh},
          u":30-:60", head);
  const text_style hours = style_for(rh, scale, false, rgb(0, 0, 0));
  for (int h = 0; h < 24; ++h) {
    const rect_f row{area.x, area.y + (1 + h) * rh, label_w, rh};
    std::u16string label = (h < 10 ? u"0" : u"") + number_text(h) + u":00";
    centred(s, row, label, hours);
    for (int half = 0; half < 2; ++half) {
      if (!grid[static_cast<std::size_t>(2 * h + half)]) continue;
      const rect_f c = day_panel_cell(area, h, half);
      s.fill_rect(rect_f{c.x, c.y, c.w, c.h}, working_cell_color);
    }
  }
  // Grid lines over the fills, so that adjacent working cells stay apart.
  for (int r = 1; r <= 25; ++r)
    s.line({area.x, area.y + r * rh}, {area.right(), area.y + r * rh}, grid_line, scale);
  for (int c = 0; c < 2; ++c) {
    const float x = area.x + label_w + c * (area.w - label_w) / 2;
    s.line({x, area.y}, {x, area.bottom()}, grid_line, scale);
  }
  s.pop_clip();
  frame(s, area, frame_line, scale);
}

}  // namespace tessel::view
