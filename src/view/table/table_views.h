// The four grouped tables: activities, WBS elements, projects and
// resources. They draw, sort, resize, move and copy alike; each lists its
// own records and answers its own type query (the work is the TableCore's).
#pragma once

#include <memory>

#include "config/layout.h"
#include "view/table/table_core.h"
#include "view/view.h"

namespace tessel::view {

#define TESSEL_TABLE_VIEW_SLOTS                                                             \
  float contentWidth() const override { return core_.contentWidth(); }                      \
  float contentHeight() const override { return core_.contentHeight(); }                    \
  float headerHeight() const override { return core_.headerHeight(); }                      \
  float rowHeight() const override { return core_.rowHeight(); }                            \
  void refresh() override { core_.refresh(); }                                              \
  void draw(const rect_f& r) override { core_.draw(r); }                                    \
  int selectedColumn() const override { return core_.selectedColumn(); }                    \
  std::u16string selectionText() const override { return core_.selectionText(); }           \
  void expandAll() override { core_.expandAll(); }                                          \
  void collapseAll() override { core_.collapseAll(); }                                      \
  bool onMouseMove(unsigned f, float x, float y) override { return core_.onMouseMove(f, x, y); } \
  bool onLButtonUp(unsigned f, float x, float y) override { return core_.onLButtonUp(f, x, y); } \
  bool onLButtonDown(unsigned f, float x, float y) override { return core_.onLButtonDown(f, x, y); } \
  bool onKeyDown(nav_key k, int page_rows) override { return core_.onKeyDown(k, page_rows); } \
  bool onLButtonDblClk(unsigned, float x, float y) override {                               \
    return context().surface && core_.onLButtonDoubleClick(*context().surface, x, y);       \
  }                                                                                         \
  /* The row tree (null until the first refresh with document and layout). */               \
  Row* root() const { return core_.root(); }                                                \
  const TableCore& core() const { return core_; }                                           \
  TableCore& core() { return core_; }                                                       \
                                                                                            \
 protected:                                                                                 \
  void layout_changed() override { core_.drop_tree(); }                                     \
                                                                                            \
 private:                                                                                   \
  TableCore core_

class ActivityTableView final : public View {
 public:
  ActivityTableView() : core_(*this, view_kind::activity) {}
  bool isActivityTable() const override { return true; }
  TESSEL_TABLE_VIEW_SLOTS;
};

class WBSTableView final : public View {
 public:
  WBSTableView() : core_(*this, view_kind::wbs) {}
  bool isWbsTable() const override { return true; }
  TESSEL_TABLE_VIEW_SLOTS;
};

class ProjectTableView final : public View {
 public:
  ProjectTableView() : core_(*this, view_kind::project) {}
  bool isProjectTable() const override { return true; }
  TESSEL_TABLE_VIEW_SLOTS;
};

class ResourceTableView final : public View {
 public:
  ResourceTableView() : core_(*this, view_kind::resource) {}
  bool isResourceTable() const override { return true; }
  TESSEL_TABLE_VIEW_SLOTS;
};

#undef TESSEL_TABLE_VIEW_SLOTS

// A new table view for a view kind.
std::unique_ptr<View> make_table_view(view_kind kind);

}  // namespace tessel::view
