// What the Details pane's sub-tables (relationships, codes, steps) share:
// the table they follow, a row tree of one root with one row per listed
// item, a header and rows of 18 pixels each (scaled), and the drawing of a
// plain table (the tables' header, cell texts and closing lines) without
// group bands, expand boxes or colour indicators. Each sub-table class
// derives from View directly and keeps one `detail_table`.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rows/row.h"
#include "view/paint_surface.h"
#include "view/table/table_paint.h"
#include "view/view.h"

namespace tessel::view {

// The tables' sizes with a header as high as a row: 18 x scale each.
table_metrics detail_table_metrics();

// The text of one cell: row, column index.
using detail_cell_text = std::function<std::u16string(const Row&, std::size_t)>;

struct detail_table {
  View* followed = nullptr;  // whose selected row supplies the record
  std::unique_ptr<RootRow> root;
  // The columns of a table whose columns are fixed (captions, unscaled
  // widths) and what its cells show; the relationship tables take theirs
  // from the layout instead.
  std::vector<std::u16string_view> captions;
  std::vector<float> widths;
  std::u16string (*cell)(const Row&, std::size_t) = nullptr;
  // Where the last header paint put each column's resize handle (content
  // coordinates).
  std::vector<rect_f> handles;

  // The followed table's selected row when it stands for a record (not a
  // group) and the table has a document and a layout; null otherwise.
  const Row* record_row() const;
  // Starts an empty tree (a root without rows).
  void clear();
  void add(std::unique_ptr<Row> row);

  // Whether the followed table has a document and a layout: until then the
  // table has no size and paints nothing.
  bool showing() const;
  // The View slots of a table with fixed columns.
  float content_width() const;
  float content_height(const View& v) const;
  void draw(View& v, const rect_f& r);
};

// Rows × row height + header height.
float detail_table_height(std::size_t rows);
// Sum of the unscaled widths, scaled.
float detail_table_width(const std::vector<float>& widths);

// Paints `v`'s visible rows that are in sight of `r`, then the header over
// them, shifted by its scroll offsets, and records each painted row's
// rectangle. `captions` and `widths` (unscaled) give the columns in order.
// Keeps the header's resize handles in `t`.
void paint_detail_table(View& v, detail_table& t, const rect_f& r, const std::vector<std::u16string_view>& captions,
                        const std::vector<float>& widths, const detail_cell_text& cell);

// What Ctrl+C copies from a sub-table: the captions, then one line per
// visible row, tab-separated, lines separated by a line feed (the main
// tables' copy format).
std::u16string detail_table_text(const View& v, const std::vector<std::u16string_view>& captions,
                                 const detail_cell_text& cell);

// A left button down at client (x, y): selects the row under the point
// alone, or none below the last row; a click on the header keeps the
// selection as it is.
void select_detail_row(View& v, float x, float y);

// The View slots every sub-table with fixed columns answers alike, through
// its `detail_table table_`: sizes, drawing, selection by click (the header
// selects nothing), copy of the whole sub-table.
#define TESSEL_FIXED_DETAIL_TABLE_SLOTS                                                         \
  float contentWidth() const override { return table_.content_width(); }                        \
  float contentHeight() const override { return table_.content_height(*this); }                 \
  float headerHeight() const override { return detail_table_metrics().header_height; }         \
  float rowHeight() const override { return detail_table_metrics().row_height; }               \
  void draw(const rect_f& r) override { table_.draw(*this, r); }                                \
  std::u16string selectionText() const override {                                              \
    return table_.showing() && table_.cell ? detail_table_text(*this, table_.captions, table_.cell) \
                                           : std::u16string();                                  \
  }                                                                                             \
  bool onLButtonDown(unsigned, float x, float y) override {                                     \
    select_detail_row(*this, x, y);                                                             \
    return true;                                                                                \
  }                                                                                             \
  bool onLButtonUp(unsigned, float, float) override { return true; }                            \
  void setFollowedTable(View* table) { table_.followed = table; }                               \
  View* followedTable() const { return table_.followed; }                                       \
                                                                                                \
 private:                                                                                       \
  detail_table table_

}  // namespace tessel::view
