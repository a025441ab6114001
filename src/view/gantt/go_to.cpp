#include "view/gantt/go_to.h"

#include <cmath>

#include "catalog/field_catalog.h"
#include "view/display_scale.h"
#include "view/gantt/gantt_view.h"

namespace tessel::view {
namespace {

constexpr float date_offset = 100.0f;  // unscaled pixels from the pane's left edge

int position_for(const GanttView& gantt, int64_t date) {
  const int x = static_cast<int>(gantt.x_of(date));
  const int offset = static_cast<int>(date_offset * display_scale());
  return x > offset ? x - offset : x;
}

const GanttView* gantt_of(const HostPane* pane) {
  if (!pane || !pane->view() || !pane->view()->isGantt()) return nullptr;
  const auto* g = static_cast<const GanttView*>(pane->view());
  return g->ready() && !g->scale().lower.empty() ? g : nullptr;
}

}  // namespace

std::optional<int> go_to_position(const View& table, const GanttView& gantt) {
  if (!table.isActivityTable() && !table.isWbsTable() && !table.isProjectTable()) return std::nullopt;
  if (!table.layout() || !gantt.ready()) return std::nullopt;
  const Row* row = table.selectedRow();
  if (!row) return std::nullopt;
  // The same key names "Start" in the activity, WBS and project catalogs;
  // a group row answers it with its summary.
  const catalog::field_entry* start = catalog::catalogs().find_key(table.layout()->catalog(), u"start_date");
  if (!start) return std::nullopt;
  const s_val& v = row->field_value(start->field_id);
  if (!v.is_date() || v.empty || v.as_time() <= 0) return std::nullopt;
  return position_for(gantt, v.as_time());
}

bool go_to(HostPane* table_pane, HostPane* gantt_pane) {
  if (!table_pane || !gantt_pane || !table_pane->view() || !gantt_pane->view()) return false;
  if (!gantt_pane->view()->isGantt()) return false;
  const auto& gantt = static_cast<const GanttView&>(*gantt_pane->view());
  const std::optional<int> pos = go_to_position(*table_pane->view(), gantt);
  if (!pos) return false;
  // The range may predate the last zoom or timescale change.
  gantt_pane->update_ranges();
  gantt_pane->set_scroll_pos(scroll_bar::horizontal, *pos);
  if (gantt_pane->on_repaint) gantt_pane->on_repaint();
  return true;
}

}  // namespace tessel::view

namespace tessel::view {

bool show_earliest(HostPane* gantt_pane) {
  const GanttView* g = gantt_of(gantt_pane);
  if (!g || g->earliest_date() == 0) return false;
  gantt_pane->update_ranges();
  gantt_pane->set_scroll_pos(scroll_bar::horizontal, position_for(*g, g->earliest_date()));
  if (gantt_pane->on_repaint) gantt_pane->on_repaint();
  return true;
}

std::optional<int64_t> centre_date(const HostPane& gantt_pane) {
  const GanttView* g = gantt_of(&gantt_pane);
  if (!g) return std::nullopt;
  const float middle = static_cast<float>(gantt_pane.scroll_pos(scroll_bar::horizontal)) +
                       static_cast<float>(gantt_pane.client_width()) / 2.0f;
  return g->axis().date_at(middle);
}

void centre_on(HostPane& gantt_pane, int64_t date) {
  const GanttView* g = gantt_of(&gantt_pane);
  if (!g) return;
  gantt_pane.update_ranges();
  const float x = g->x_of(date) - static_cast<float>(gantt_pane.client_width()) / 2.0f;
  gantt_pane.set_scroll_pos(scroll_bar::horizontal, static_cast<int>(std::lround(x)));
  if (gantt_pane.on_repaint) gantt_pane.on_repaint();
}

}  // namespace tessel::view
