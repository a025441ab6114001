// What the four grouped table views have in common: everything but the
// records they list. Each table view owns one core and hands its View slots
// to it; the core builds the row tree of its view kind, keeps the owner's
// visible row list, paints the rows and the header and answers the mouse.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "analysis/shown_activities.h"
#include "config/layout.h"
#include "rows/row.h"
#include "view/table/table_paint.h"
#include "view/view.h"

namespace tessel::view {

class TableCore {
 public:
  TableCore(View& owner, view_kind kind) : v_(owner), kind_(kind) {}
  TableCore(const TableCore&) = delete;
  TableCore& operator=(const TableCore&) = delete;

  float contentWidth() const;
  float contentHeight() const;
  float headerHeight() const;
  float rowHeight() const;
  void refresh();
  void draw(const rect_f& r);
  int selectedColumn() const { return selected_column_; }
  std::u16string selectionText() const;
  void expandAll();
  void collapseAll();
  bool onMouseMove(unsigned flags, float x, float y);
  bool onLButtonUp(unsigned flags, float x, float y);
  bool onLButtonDown(unsigned flags, float x, float y);
  // The document or the layout changed: the tree goes.
  void drop_tree();

  Row* root() const { return root_.get(); }

  // The activities shown while a filter or trace is on (null: every one).
  // Setting one keeps the whole tree aside, with its groups expanded or
  // collapsed as they were, and shows a tree of the shown activities; it
  // stays through layout and sort changes until cleared, when the tree
  // kept aside comes back. Only the Activity and WBS tables apply one (the
  // WBS table keeps the elements that hold a shown activity).
  // Without `build_now` the new tree waits for the next refresh.
  void set_shown(std::shared_ptr<const analysis::shown_activities> shown, bool build_now = true);
  const analysis::shown_activities* shown() const { return shown_.get(); }
  // Changes whenever the shown tree is replaced by another, so that whoever
  // keeps rows of it (find's matches) knows when they went stale.
  uint64_t tree_version() const { return tree_version_; }
  view_kind kind() const { return kind_; }
  // The column whose right edge is being dragged, the dragged column and
  // its drop place (-1 when none).
  int resizingColumn() const { return resizing_; }
  int draggedColumn() const { return dragged_; }
  int dropColumn() const { return drop_; }
  // The visible row under a content y, or -1: rows are hit edges inclusive,
  // from one pixel below their top line to their bottom line.
  int row_at(float content_y) const;

 private:
  bool ready() const;
  std::unique_ptr<RootRow> build_shown_tree();
  bool grouped() const;
  void paint_row(paint_surface& s, const table_metrics& m, Row& row, std::size_t index, float content_width,
                 const rect_f& visible);
  std::vector<header_column> header_columns(const table_metrics& m) const;
  void sort_by_column(std::size_t column);
  rect_f expand_box(const table_metrics& m, const Row& row, std::size_t index) const;

  View& v_;
  view_kind kind_;
  std::unique_ptr<RootRow> root_;
  std::unique_ptr<RootRow> whole_root_;  // the unrestricted tree, kept while a shown set is on
  std::shared_ptr<const analysis::shown_activities> shown_;
  uint64_t tree_version_ = 0;
  // Activity positions of the document, for the shown set's flags.
  std::unique_ptr<analysis::activity_positions> positions_;
  const document::Document* positions_doc_ = nullptr;
  std::vector<rect_f> handles_;
  std::vector<rect_f> cells_;
  int resizing_ = -1;
  int dragged_ = -1;
  int drop_ = -1;
  int selected_column_ = -1;
};

}  // namespace tessel::view
