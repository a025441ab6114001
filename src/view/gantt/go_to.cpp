#include "view/gantt/go_to.h"

#include "catalog/field_catalog.h"
#include "view/gantt/gantt_view.h"

namespace tessel::view {

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
  const int x = static_cast<int>(gantt.x_of(v.as_time()));
  return x > 100 ? x - 100 : x;
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
