// The calendar inspector's two drawn panels: the month grid (title with
// arrows, weekday headings, six week rows with coloured days) and the day
// panel (24 hours by two half hours). Both draw on a paint surface, so the
// dialog paints them with the window system and tests record them.
#pragma once

#include <cstdint>
#include <vector>

#include "view/dialogs/calendar_month.h"
#include "view/paint_surface.h"

namespace tessel::view {

// Day colours of the month grid and its legend.
inline constexpr uint32_t standard_day_color = rgb(255, 255, 255);
inline constexpr uint32_t nonwork_day_color = rgb(200, 200, 200);
inline constexpr uint32_t exception_day_color = rgb(170, 210, 240);
// A working half hour in the day panel.
inline constexpr uint32_t working_cell_color = rgb(70, 130, 200);

uint32_t day_color(day_class c);

// Where the month panel put its arrows and days, for hit testing.
struct month_panel_geometry {
  rect_f previous_arrow;
  rect_f next_arrow;
  rect_f title;  // between the arrows: a click there offers a year/month jump
  struct day_cell {
    rect_f rect;
    int64_t date = 0;  // 00:00 of the day
  };
  std::vector<day_cell> days;
};

// The rows of the month panel: the panel's height in eight equal rows, the
// title, the weekday headings, then six weeks, Sunday first.
month_panel_geometry month_panel_layout(const rect_f& area, month_ref month);

// Draws the month of `month` for the calendar (nullptr: no colours) with
// `selected` (a moment of the day) marked. `scale` multiplies fonts and
// line widths.
void paint_month_panel(paint_surface& s, const rect_f& area, const document::CALENDAR* cal,
                       month_ref month, int64_t selected, float scale);

// What a click at (x, y) hits.
struct month_hit {
  enum class kind : uint8_t { none, previous, next, day, title } what = kind::none;
  int64_t date = 0;
};
month_hit hit_month_panel(const month_panel_geometry& g, float x, float y);

// Draws the half-hour grid: a heading row ":00-:30", ":30-:60" and 24 hour
// rows, each cell filled where the grid says it works.
void paint_day_panel(paint_surface& s, const rect_f& area, const half_hour_grid& grid, float scale);

// The rectangle of one half-hour cell (hour 0-23, half 0 or 1) in a day panel.
rect_f day_panel_cell(const rect_f& area, int hour, int half);

}  // namespace tessel::view
