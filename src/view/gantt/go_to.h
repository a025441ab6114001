// Go to: brings the selected row's start into view in the Gantt pane. The
// table pane is never scrolled; the Gantt pane scrolls horizontally so that
// the date lands 100 pixels (times the display scale) from the pane's left
// edge, or at the very left when it lies closer to the chart's start than
// that. The same placement shows the schedule's first date when a file is
// opened, and a timescale or zoom change keeps the date at the pane's
// centre where it was.
#pragma once

#include <cstdint>
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

// Scrolls a Gantt pane so that the schedule's earliest activity date stands
// where go-to puts a date. Answers whether it did.
bool show_earliest(HostPane* gantt_pane);

// The date at the middle of a Gantt pane's client area, and scrolling the
// pane so that `date` is there again (after the timescale or the zoom
// changed and the chart was refreshed).
std::optional<int64_t> centre_date(const HostPane& gantt_pane);
void centre_on(HostPane& gantt_pane, int64_t date);

}  // namespace tessel::view
