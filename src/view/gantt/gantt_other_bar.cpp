#include "view/gantt/gantt_other_bar.h"

#include <algorithm>
#include <cmath>

#include "analysis/activity_measures.h"

namespace tessel::view::gantt {

namespace {
constexpr uint32_t other_bar_fill = rgb(150, 150, 150);
}

rect_f other_bar_band(float x1, float x2, float top, float row_height, float scale) {
  const float y = top + std::min(14.0f * scale, std::max(0.0f, row_height - 3.0f * scale));
  const float h = std::max(1.0f, std::min(3.0f * scale, top + row_height - y));
  // A milestone's bar still shows: two pixels wide at least.
  const float w = std::max(x2 - x1, 2.0f * scale);
  return {x1, y, w, h};
}

void draw_other_bar(paint_surface& s, const date_axis& axis, float ox, float top, float row_height, float scale,
                    const document::TASK& other, float left, float right) {
  const s_date& start = analysis::forecast_start(other);
  const s_date& finish = analysis::forecast_finish(other);
  if (!start.has_date() || !finish.has_date()) return;
  const float x1 = ox + std::trunc(axis.x_of(std::min(start.time, finish.time)));
  const float x2 = ox + std::trunc(axis.x_of(std::max(start.time, finish.time)));
  if (x2 + 2.0f * scale < left || x1 > right) return;
  s.fill_rect(other_bar_band(x1, x2, top, row_height, scale), other_bar_fill);
}

}  // namespace tessel::view::gantt
