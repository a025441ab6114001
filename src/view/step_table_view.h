// The Steps sub-table of the Activity Details pane: one row per step of the
// activity selected in the followed table, in the activity's step order.
// Fixed columns: "Step Name" 400, "Completed" 200, "Step % Complete" 200,
// "Step Weight" 200, "Step Weight Percent" 200 (scaled). A click selects a
// row; nothing is copied.
//
//   auto* steps = new ActivityStepTableView;
//   steps->setFollowedTable(activity_table);
// Every `refresh` rebuilds the rows from the followed table's selection.
#pragma once

#include "view/detail_table.h"

namespace tessel::view {

class ActivityStepTableView final : public View {
 public:
  explicit ActivityStepTableView(View* followed = nullptr);
  float contentWidth() const override;
  float contentHeight() const override;
  float headerHeight() const override;
  float rowHeight() const override;
  void refresh() override;
  void draw(const rect_f& r) override;
  bool onLButtonDown(unsigned flags, float x, float y) override;
  bool onLButtonUp(unsigned flags, float x, float y) override;

  void setFollowedTable(View* table) { table_.followed = table; }
  View* followedTable() const { return table_.followed; }

 private:
  detail_table table_;
};

}  // namespace tessel::view
