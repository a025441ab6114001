// Restricting a table to shown activities, and going to one activity: the
// entries the window (find bar, Filter panel, trace, a check or compare
// line) and tessel-dump use.
//
//   apply_shown(table, std::make_shared<analysis::shown_activities>(...));
//   shown_text(table, doc)   -> "Showing 12 of 1,193 activities: Critical"
//   apply_shown(table, nullptr);             // clear: the tree as it was
//   reveal_row(table, row) / reveal_activity(table, task)
//                                            // expand its groups, select it;
//                                            // answers its visible index
//
// The shell then scrolls the table and the Gantt chart to the index (they
// share the vertical position) and lays out the Details pane, which
// follows the table's selection.
#pragma once

#include <memory>
#include <string>

#include "analysis/shown_activities.h"
#include "view/table/table_core.h"
#include "view/view.h"

namespace tessel::view {

// The table core of one of the four table views, or null for other views.
TableCore* table_core_of(View& v);
const TableCore* table_core_of(const View& v);

// Shows only `shown` (null: every activity again). Answers false for a
// view that is not the Activity or WBS table, or has no document yet.
// Without `build_now` the tree is built at the view's next refresh (a
// table not on screen).
bool apply_shown(View& table, std::shared_ptr<const analysis::shown_activities> shown, bool build_now = true);
const analysis::shown_activities* shown_of(const View& table);

// "Showing n of m activities" with the restriction's label after a colon
// when it has one; empty while nothing restricts the table.
std::u16string shown_text(const View& table);

// Expands the groups above `row` (a row of the table's tree), selects it
// alone and answers its index in the visible list; -1 when the row is not
// in the tree.
int reveal_row(View& table, const Row& row);
// The same for the first row that stands for `task`; -1 when the table
// does not show it (a filter hides it, or another view).
int reveal_activity(View& table, const document::TASK& task);

}  // namespace tessel::view
