// The Details pane: a strip of named tabs along the top and, under it, the
// record of the row selected in the category's table, as captioned value
// boxes for the current tab. `DetailView` holds the tabs and the followed
// table; its four classes draw their own tab contents.
//
// For the tabs "Predecessors", "Successors", "Codes" and "Steps" the view
// draws the strip only: the host pane shows one of its child panes (a
// sub-table) in the area below it, at `stripHeight()` from the top.
//
// Construction (the shell does this once, for the life of the window):
//   auto* details = new ActivityDetailView;   // tabs and "General" set
//   details->setFollowedTable(activity_table);
// The followed table is any table View; the detail view reads its document,
// its layout and its selected row at every paint and never keeps a copy of
// the record. Nothing needs to be set on the detail view itself when a file
// is opened or a layout chosen.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "view/paint_surface.h"
#include "view/view.h"

namespace tessel::view {

class DetailView : public View {
 public:
  // `tabs` in order; the current tab starts as "General".
  explicit DetailView(std::vector<std::u16string> tabs, View* followed = nullptr);

  bool isDetail() const override { return true; }
  // The Details pane never scrolls: every size is 0.
  float contentWidth() const override { return 0.0f; }
  float contentHeight() const override { return 0.0f; }
  // Nothing is cached: every paint reads the followed table's selection.
  void refresh() override {}
  // The tab strip, then the current tab's contents.
  void draw(const rect_f& r) override;
  // A click on a tab (edges inclusive) makes it the current tab. Always
  // answers false: the host repaints and lays out its child panes anyway.
  bool onLButtonUp(unsigned flags, float x, float y) override;

  // The child pane the current tab asks the host to show: 0 Predecessors,
  // 1 Successors, 2 Codes, 3 Steps, -1 none.
  int childPaneIndex() const override;

  const std::u16string& currentTab() const { return current_; }
  // Makes `name` the current tab when it is one of the view's tabs; answers
  // whether it is.
  bool setCurrentTab(std::u16string_view name);
  const std::vector<std::u16string>& tabs() const { return tabs_; }
  // One rectangle per tab, in content coordinates, rebuilt at every paint
  // (empty before the first).
  const std::vector<rect_f>& tabRects() const { return tab_rects_; }

  void setFollowedTable(View* table) { followed_ = table; }
  View* followedTable() const { return followed_; }

  // Height of the tab strip (scaled pixels): where the child panes begin.
  static float stripHeight();

 protected:
  // The followed table's selected row when it stands for a record (not a
  // group); null when there is none, so that every value shows empty.
  const Row* shownRow() const;
  // Draws the current tab's contents below the strip. `origin` is the
  // client position of content point (0, 0).
  virtual void drawContents(paint_surface& surface, point_f origin) const;

 private:
  void draw_strip(paint_surface& surface, point_f origin, float pane_width);

  std::vector<std::u16string> tabs_;
  std::u16string current_;
  std::vector<rect_f> tab_rects_;
  View* followed_ = nullptr;
};

}  // namespace tessel::view
