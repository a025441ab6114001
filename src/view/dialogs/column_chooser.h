// The column chooser: which fields a table shows, edited on the layout in
// memory. The dialog shows two lists of captions, "Available Columns"
// (sorted) and "Inserted Columns" (table order); Add and Remove change the
// layout at once and both lists are filled again. The changes reach the
// column files when the program ends (config/column_files.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/field_catalog.h"
#include "config/layout.h"

namespace tessel::view {

// Which column list of a layout is edited.
enum class chooser_list : uint8_t { table, predecessors, successors };

struct column_target {
  Layout* layout = nullptr;
  chooser_list list = chooser_list::table;
};

// The catalog whose fields the list takes: the view's catalog for the table,
// the predecessor or successor catalog for the relationship tables.
catalog::catalog_kind chooser_catalog(const column_target& t);

// Width of a column added by the chooser, unscaled pixels.
inline constexpr float added_column_width = 120.0f;

struct column_lists {
  // Captions of the available fields not shown yet, sorted without regard
  // to case.
  std::vector<std::u16string> available;
  // Captions of the shown columns whose fields the catalog knows and the
  // document supplies, in table order; `inserted_index` holds, for each,
  // the position of its column in the layout's list.
  std::vector<std::u16string> inserted;
  std::vector<std::size_t> inserted_index;
};

column_lists fill_column_lists(const column_target& t);

// Appends, for each caption in the order given (the sorted list's order),
// a column of the available catalog field with that caption, 120 wide.
// A caption no field has adds nothing.
void add_columns(const column_target& t, const std::vector<std::u16string>& captions);

// Removes the columns at these positions of the "Inserted Columns" list of
// `lists`, highest position first so that the lower ones stay valid.
void remove_columns(const column_target& t, const column_lists& lists,
                    std::vector<std::size_t> positions);

// The captions that contain `filter` (case-blind), in their order; all of
// them for an empty filter. The "Available Columns" filter box: a catalog
// offers some 300 fields.
std::vector<std::u16string> filtered_captions(const std::vector<std::u16string>& captions,
                                              std::u16string_view filter);

// Less-than for the sorted list: case-blind, ties in plain order.
bool caption_less(std::u16string_view a, std::u16string_view b);

}  // namespace tessel::view
