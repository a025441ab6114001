// The View family: everything below the ribbon is drawn by a View. A view is
// not a window; it paints onto the surface its host pane hands it and
// answers the mouse events the host forwards. The host fills in the drawing
// context (surface and scroll offsets) before every paint and before every
// mouse event; a view adds the scroll offsets to client coordinates to get
// content coordinates, and subtracts them when it draws.
//
// The slots keep the names and order of the view contract; each class
// overrides the ones it needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/layout.h"
#include "document/document.h"
#include "rows/row.h"
#include "view/paint_surface.h"

namespace tessel::view {

// Mouse-key flags as the window system reports them.
inline constexpr unsigned mouse_left_held = 1u;

// The keys a table answers: moving the selection, and collapsing,
// expanding or toggling a group row.
enum class nav_key : uint8_t { up, down, page_up, page_down, home, end, left, right, enter };

struct drawing_context {
  paint_surface* surface = nullptr;  // only valid during `draw`
  int scroll_x = 0;
  int scroll_y = 0;
  // The pointer the view asks for; mouse handlers set it, the host applies it.
  cursor_shape cursor = cursor_shape::arrow;
};

class View {
 public:
  View() = default;
  View(const View&) = delete;
  View& operator=(const View&) = delete;
  virtual ~View() = default;

  virtual bool isActivityTable() const { return false; }
  virtual bool isWbsTable() const { return false; }
  virtual bool isProjectTable() const { return false; }
  virtual bool isResourceTable() const { return false; }
  virtual bool isGantt() const { return false; }
  virtual bool isDetail() const { return false; }
  virtual bool isActivityDetail() const { return false; }
  virtual bool isWbsDetail() const { return false; }
  virtual bool isProjectDetail() const { return false; }
  virtual bool isResourceDetail() const { return false; }
  virtual bool isRelationshipTable() const { return false; }
  virtual bool isActivityCodeTable() const { return false; }
  virtual float contentWidth() const = 0;
  virtual float contentHeight() const = 0;
  virtual float headerHeight() const { return 0.0f; }
  virtual float rowHeight() const { return 0.0f; }
  virtual void refresh() = 0;
  // `r` is the client rectangle to paint (left, top, width, height).
  virtual void draw(const rect_f& r) = 0;
  virtual int selectedColumn() const { return -1; }
  virtual std::u16string selectionText() const { return {}; }
  virtual void expandAll() {}
  virtual void collapseAll() {}
  // Each answers whether the pane needs a repaint.
  virtual bool onMouseMove(unsigned /*flags*/, float /*x*/, float /*y*/) { return false; }
  virtual bool onLButtonUp(unsigned /*flags*/, float /*x*/, float /*y*/) { return false; }
  virtual bool onLButtonDown(unsigned /*flags*/, float /*x*/, float /*y*/) { return false; }
  // A key; `page_rows` is how many rows the pane shows. Answers whether the
  // selection or the rows changed.
  virtual bool onKeyDown(nav_key /*key*/, int /*page_rows*/) { return false; }
  // A double click; the context's surface is one to measure text on.
  virtual bool onLButtonDblClk(unsigned /*flags*/, float /*x*/, float /*y*/) { return false; }

  // The schedule and the layout the view shows; neither is owned. Setting a
  // different layout (or document) is the caller's cue to discard derived
  // state: table views drop their row tree (see `layout_changed`).
  const document::Document* document() const { return doc_; }
  void set_document(const document::Document* doc);
  Layout* layout() const { return layout_; }
  void set_layout(Layout* layout);

  drawing_context& context() { return dc_; }
  const drawing_context& context() const { return dc_; }

  // Rows shown, top to bottom, and the deepest level among them.
  const std::vector<Row*>& visibleRows() const { return visible_; }
  unsigned deepestLevel() const { return deepest_; }
  // Changes whenever the visible row list is rebuilt, so that followers can
  // keep indexes into it and know when they went stale.
  uint64_t visibleRowsVersion() const { return visible_version_; }
  // The selected row: the last row of the visible list whose selected flag
  // is set; null when none is. Worked out once per change of the list or of
  // the selection (see `selection_changed`), not on every call.
  Row* selectedRow() const;
  // Its index in the visible list, or -1.
  int selectedIndex() const;
  // Selects visible row `index` alone, as a click on it does; an index
  // outside the list clears the selection of every visible row.
  void selectVisibleRow(int index);
  // Whoever sets rows' selected flags directly says so here.
  void selection_changed() { ++selection_version_; }

  // For a detail view: which child pane its current tab shows (0
  // Predecessors, 1 Successors, 2 Codes, 3 Steps), or -1 for none.
  virtual int childPaneIndex() const { return -1; }

 protected:
  // The grouped tables' common implementation keeps their visible list.
  friend class TableCore;

  // Called when the document or the layout changes to another object.
  virtual void layout_changed() {}

  // Replaces the visible list with the expanded part of the tree under
  // `root` (or empties it when there is none).
  void rebuild_visible(const Row* root);

  std::vector<Row*> visible_;
  unsigned deepest_ = 0;
  // The visible rows whose selected flag may be set: those found set when
  // the list was built and those selected since, so that selecting a row
  // touches them alone, not every visible row.
  std::vector<Row*> marked_;
  drawing_context dc_;

 private:
  const document::Document* doc_ = nullptr;
  Layout* layout_ = nullptr;
  uint64_t visible_version_ = 0;
  uint64_t selection_version_ = 0;
  // The selected index as last worked out, and the versions it belongs to.
  mutable int cached_selected_ = -1;
  mutable uint64_t cached_visible_version_ = ~uint64_t{0};
  mutable uint64_t cached_selection_version_ = ~uint64_t{0};
};

}  // namespace tessel::view
