// What the Details pane's sub-tables (relationships, codes, steps) share:
// the table they follow, a row tree of one root with one row per listed
// item, a header and rows of 18 pixels each (scaled), and the drawing of a
// plain table without group bands, expand boxes or colour indicators. Each
// sub-table class derives from View directly and keeps one `detail_table`.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rows/row.h"
#include "view/paint_surface.h"
#include "view/view.h"

namespace tessel::view {

// Header height and row height of every sub-table (scaled).
float detail_table_line_height();

struct detail_table {
  View* followed = nullptr;  // whose selected row supplies the record
  std::unique_ptr<RootRow> root;

  // The followed table's selected row when it stands for a record (not a
  // group); null otherwise.
  const Row* record_row() const;
  // Starts an empty tree (a root without rows).
  void clear();
  void add(std::unique_ptr<Row> row);
  // Refills `visible` with the rows under the root, top to bottom; answers
  // the deepest level among them.
  unsigned list(std::vector<Row*>& visible) const;
};

// Rows × row height + header height.
float detail_table_height(std::size_t rows);
// Sum of the unscaled widths, scaled.
float detail_table_width(const std::vector<float>& widths);

// The text of one cell: row, column index.
using detail_cell_text = std::function<std::u16string(const Row&, std::size_t)>;

// Paints the visible rows that fall inside `r`, then the header over them,
// shifted by the context's scroll offsets, and records each painted row's
// rectangle for selection. `captions` and `widths` (unscaled) give the
// columns in order.
void paint_detail_table(paint_surface& surface, const drawing_context& dc, const rect_f& r,
                        const std::vector<std::u16string_view>& captions, const std::vector<float>& widths,
                        const std::vector<Row*>& visible, const detail_cell_text& cell);

// Selects every visible row whose drawn rectangle holds the content point
// (edges inclusive) and clears the others, as a table selects on a click.
void select_detail_row(const std::vector<Row*>& visible, float x, float y);

}  // namespace tessel::view
