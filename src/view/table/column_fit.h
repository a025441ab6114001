// How wide a table column must be to show its texts whole: the first column
// of a tree-shaped table also carries each row's indentation, so a layout's
// narrow ID column shows nothing of the IDs of deep rows.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "rows/row.h"
#include "view/paint_surface.h"
#include "view/table/table_paint.h"

namespace tessel::view {

// Unscaled width of one tree level.
inline constexpr float table_indent_step = 20.0f;

// Where a cell's text starts within its column (scaled pixels from the
// column's left edge): the first column of a grouped table starts below the
// row's level plus one, of an ungrouped one at its level; other columns 5 px in.
float cell_text_indent(const table_metrics& m, bool first_column, bool grouped, int depth);

// The scaled width that shows `field`'s text whole in every record row of
// `rows` (group rows span the table and are left out), and the header
// caption. Texts are measured on `s`; of many rows only the few whose
// length and indentation make them the likeliest widest are measured.
float fitted_column_width(paint_surface& s, const table_metrics& m, const std::vector<Row*>& rows,
                          uint32_t field, bool first_column, bool grouped, std::u16string_view caption);

}  // namespace tessel::view
