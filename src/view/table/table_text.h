// The text a table copies to the clipboard (Ctrl+C): the whole visible
// table, not only the selection, as tab-separated lines. Built from the rows
// and the layout's columns without drawing anything, so the table views and
// tools share it.
#pragma once

#include <string>
#include <vector>

#include "config/layout.h"
#include "rows/row.h"

namespace tessel::view {

// The column captions in column order, separated by tabs (no line end).
std::u16string table_header_text(const std::vector<Column>& columns);

// One row's line: each column's display text, tab-separated. A group row
// shows its title in the first column and its summaries in the others.
std::u16string table_row_text(const Row& row, const std::vector<Column>& columns);

// The header line ended by a line feed, then one line per row, lines
// separated by a line feed with none after the last. A table without rows
// gives the header line alone with its line feed.
std::u16string table_text(const std::vector<Row*>& rows, const std::vector<Column>& columns);

// The same for a whole tree shown with every group expanded.
std::u16string table_text(Row& root, const std::vector<Column>& columns);

}  // namespace tessel::view
