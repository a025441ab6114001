// Go to: brings the selected row's start into view in the Gantt pane. The
// table pane is never scrolled; the Gantt pane scrolls horizontally so that
// the date lands 100 pixels from the pane's left edge, or at the very left
// when it lies closer to the chart's start than that.
#pragma once

#include <optional>

#include "view/host_pane.h"
#include "view/view.h"

namespace tessel::view {

class GanttView;

// The Gantt pane's new horizontal scroll position for the table's selected
// row: a group row goes by its summarised start, an entity row by its own
// "Start". Nothing when the table is not an activity, WBS or project table,
// nothing is selected, or the date is empty.
std::optional<int> go_to_position(const View& table, const GanttView& gantt);

// Applies go-to to a category's table pane (column 0) and Gantt pane
// (column 1): sets the Gantt pane's horizontal position and asks it to
// repaint. Answers whether it did; missing panes or views do nothing.
bool go_to(HostPane* table_pane, HostPane* gantt_pane);

}  // namespace tessel::view
