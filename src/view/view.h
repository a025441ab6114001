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
  // The selected row: the last row of the visible list whose selected flag
  // is set; null when none is.
  Row* selectedRow() const;

 protected:
  // Called when the document or the layout changes to another object.
  virtual void layout_changed() {}

  std::vector<Row*> visible_;
  unsigned deepest_ = 0;
  drawing_context dc_;

 private:
  const document::Document* doc_ = nullptr;
  Layout* layout_ = nullptr;
};

}  // namespace tessel::view
